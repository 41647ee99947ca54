#!/bin/sh
# Renders the Markdown manual into the help PDF: pandoc turns it into HTML
# with a linked table of contents, WeasyPrint lays that out with the
# Japanese font. The PDF's text layer holds the text as written (searchable,
# copyable) and every heading is a bookmark.
#   help_pdf.sh <pandoc> <weasyprint> <manual.md> <help.css> <output.pdf>
set -eu
pandoc=$1 weasyprint=$2 source=$3 css=$4 output=$5
fc-list 'Noto Sans CJK JP' | grep -q . || { echo "help_pdf.sh: the font Noto Sans CJK JP is missing" >&2; exit 1; }
html="$output.html"
trap 'rm -f "$html" "$output.tmp"' EXIT
"$pandoc" --from gfm --to html5 --standalone --toc --toc-depth=3 \
  --metadata pagetitle='Tavrin ユーザーズマニュアル' --variable lang=ja \
  --css "$css" --output "$html" "$source"
"$weasyprint" --quiet "$html" "$output.tmp"
mv "$output.tmp" "$output"
