#!/bin/sh
# The man page names every command and option that --help lists, and no
# other, renders without a doubled full stop, and states the encoding rule in
# the words of --help.
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
# A full stop after a quoted sentence that ends in one renders as "..".
rendered=$(groff -man -Tutf8 -P-c -P-b -P-u "$2" 2>&1) || fail "groff cannot render the man page"
printf '%s\n' "$rendered" | grep -nE '(^|[^.])\.\.([^.]|$)' && fail "a doubled full stop"
# The kinds of --fold: each "name (" of the help's --fold entry is a ".B name"
# of the man page's, and the other way round.
printf '%s\n' "$help" | sed -n '/--fold=/,/--explain/p' | grep -o '[a-z][a-z]* (' | sed 's/ (//' |
  sort -u > "$scratch/help-kinds"
printf '%s\n' "$man" | sed -n '/^\.BI --fold=/,/^\.RE/s/^\.B \([a-z][a-z]*\)$/\1/p' | grep -v '^all$' |
  sort -u > "$scratch/man-kinds"
[ -s "$scratch/help-kinds" ] || fail "no kinds of --fold in --help"
diff "$scratch/help-kinds" "$scratch/man-kinds" || fail "the kinds of --fold differ (< help, > man page)"
# The --encoding paragraphs, as words: --help's from the option to the next
# one, the man page's from the option to the next .TP, font macros dropped.
words() { tr -s ' \n' '  ' | sed 's/^ *//; s/[. ]*$//' | tr 'A-Z' 'a-z'; }
printf '%s\n' "$help" | sed -n '/^  --encoding=ENC/,/^  --[a-z]/p' | sed '1s/^  --encoding=ENC//; $d' | words > "$scratch/help-enc"
printf '%s\n' "$man" | sed -n '/^\.BI --encoding= ENC/,/^\.TP/p' | sed '1d; $d; s/^\.B //' | words > "$scratch/man-enc"
[ -s "$scratch/help-enc" ] || fail "no --encoding paragraph in --help"
diff "$scratch/help-enc" "$scratch/man-enc" || fail "the encoding rule differs (< help, > man page)"
echo "man page ok"
