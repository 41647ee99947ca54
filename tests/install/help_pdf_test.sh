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

text=$(pdftotext -enc UTF-8 "$pdf" -)
for phrase in \
  "Tavrin ユーザーズマニュアル" \
  "類字抽出" "全データ" \
  "全8個のデータの中から、4 種類の類字データを抽出しました" \
  "ハイフン(-)とカタカナの長音符(ｰ)を類字とみなす" \
  "tavrin.ini" "Shift-JIS にない文字の扱い"; do
  printf '%s\n' "$text" | grep -qF -- "$phrase" || fail "text not found in the PDF: $phrase"
done

# Every heading of the source made it into the PDF.
grep '^##* ' "$source" | sed 's/^#* //' | while IFS= read -r heading; do
  printf '%s\n' "$text" | grep -qF -- "$heading" || fail "heading not found in the PDF: $heading"
done
echo "help PDF ok: $pages pages"
