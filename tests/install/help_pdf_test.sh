#!/bin/sh
# The help PDF's text layer gives back the manual as written: every word of
# the source (layout whitespace aside), no Kangxi-radical look-alikes, the
# font embedded, and the headings as bookmarks.
#   help_pdf_test.sh <tavrin.pdf> <tavrin-help.md>
set -eu
pdf=$1
source=$2
fail() { echo "FAIL: $*" >&2; exit 1; }

pdfinfo "$pdf" >/dev/null 2>&1 || fail "pdfinfo cannot read $pdf"
pdffonts "$pdf" | grep -Eq 'Noto-?Sans-?CJK' || fail "the Japanese font is not embedded"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
pdftotext -raw -enc UTF-8 "$pdf" "$scratch/pdf.txt"
pandoc --from gfm --to plain --wrap=none "$source" -o "$scratch/source.txt"
pdftohtml -xml -i -stdout "$pdf" >"$scratch/pdf.xml" 2>/dev/null
python3 - "$scratch" <<'PY' || exit 1
import re, sys
d = sys.argv[1]
text = open(d + "/pdf.txt", encoding="utf-8").read()
flat = re.sub(r"\s+", "", text)
# Plain text draws table rules with runs of "-"; they are no words.
words = [w for w in open(d + "/source.txt", encoding="utf-8").read().split()
         if not re.fullmatch(r"-{3,}", w)]
missing = [w for w in words if w not in flat]
radicals = sorted({c for c in text if 0x2E80 <= ord(c) <= 0x2FDF})
outline = re.findall(r"<item[^>]*>(.*?)</item>", open(d + "/pdf.xml", encoding="utf-8").read())
errors = []
if missing: errors.append("words missing from the text layer: %s" % missing[:20])
if radicals: errors.append("radical look-alikes in the text layer: %s" % radicals)
for w in ("文字列", "F1", "F5", "F6", "F7", "\U00020BB7"):
    if w not in flat: errors.append("not in the text layer: %s" % w)
if len(outline) < 20: errors.append("only %d bookmarks" % len(outline))
for e in errors: print("FAIL:", e, file=sys.stderr)
sys.exit(1 if errors else 0)
PY
# Each heading of the source is a bookmark.
grep '^#' "$source" | sed 's/^#* *//' | while IFS= read -r heading; do
  grep -qF ">$heading</item>" "$scratch/pdf.xml" || fail "no bookmark for the heading: $heading"
done
grep -q '<a href=' "$scratch/pdf.xml" || fail "the table of contents has no links"
echo "help PDF ok: $(printf '%s' "$(cat "$scratch/source.txt")" | wc -w) words found"
