#!/bin/sh
# The man page names every command and option that --help lists, and no
# other, and states the encoding rule in the words of --help.
#   man_page_test.sh <tavrin-batch> <tavrin-batch.1> [<runner, as wine-run>]
set -eu
fail() { echo "FAIL: $*" >&2; exit 1; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
help=$(${3:+"$3"} "$1" --help) || fail "--help failed"
man=$(sed 's/\\-/-/g' "$2")  # roff's \- is a hyphen
{
  printf '%s\n' "$help" | sed -n '/^Commands:/,/^$/s/^  \([a-z][a-z]*\) .*/\1/p'
  printf '%s\n' "$help" | grep -o -e '--[a-z0-9-][a-z0-9-]*'
} | sort -u > "$scratch/help"
{
  printf '%s\n' "$man" | sed -n '/^\.SH COMMANDS/,/^\.SH OPTIONS/s/^\.B \([a-z][a-z]*\)$/\1/p'
  printf '%s\n' "$man" | grep -o -e '--[a-z0-9-][a-z0-9-]*'
} | sort -u > "$scratch/man"
diff "$scratch/help" "$scratch/man" || fail "the man page and --help differ (< help, > man page)"
# The --encoding paragraphs, as words: --help's from the option to the next
# one, the man page's from the option to the next .TP, font macros dropped.
words() { tr -s ' \n' '  ' | sed 's/^ *//; s/[. ]*$//' | tr 'A-Z' 'a-z'; }
printf '%s\n' "$help" | sed -n '/^  --encoding=ENC/,/^  --[a-z]/p' | sed '1s/^  --encoding=ENC//; $d' | words > "$scratch/help-enc"
printf '%s\n' "$man" | sed -n '/^\.BI --encoding= ENC/,/^\.TP/p' | sed '1d; $d; s/^\.B //' | words > "$scratch/man-enc"
[ -s "$scratch/help-enc" ] || fail "no --encoding paragraph in --help"
diff "$scratch/help-enc" "$scratch/man-enc" || fail "the encoding rule differs (< help, > man page)"
echo "man page ok"
