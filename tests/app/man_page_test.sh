#!/bin/sh
# Each edition of the man page (English and Japanese) names every command
# and option that --help lists in its language, and no other, renders
# without a doubled full stop, and states the encoding rule in the words of
# --help. The language follows LC_ALL; under wine it is the prefix's, so
# there the edition --help speaks is checked.
#   man_page_test.sh <tavrin-batch> <tavrin-batch.1> <tavrin-batch.ja.1> [<runner, as wine-run>]
set -eu
fail() { echo "FAIL: $*" >&2; exit 1; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
program=$1 english=$2 japanese=$3 runner=${4:-}
# Text as its characters without blanks: a Japanese line may break anywhere.
words() { tr -d ' \n' | sed 's/[.。]*$//' | tr 'A-Z' 'a-z'; }

# check <help text> <man page> <help's commands heading> <man's commands section> <man's options section>
check() {
  help=$1 page=$2
  man=$(sed 's/\\-/-/g' "$page")  # roff's \- is a hyphen
  {
    printf '%s\n' "$help" | sed -n "/^$3\$/,/^\$/s/^  \([a-z][a-z]*\) .*/\1/p"
    printf '%s\n' "$help" | grep -o -e '--[a-z0-9-][a-z0-9-]*'
  } | sort -u > "$scratch/help"
  {
    printf '%s\n' "$man" | sed -n "/^\.SH $4\$/,/^\.SH $5\$/s/^\.B \([a-z][a-z]*\)\$/\1/p"
    printf '%s\n' "$man" | grep -o -e '--[a-z0-9-][a-z0-9-]*'
  } | sort -u > "$scratch/man"
  [ "$(wc -l < "$scratch/help")" -gt 10 ] || fail "$page: too few commands and options in --help"
  diff "$scratch/help" "$scratch/man" || fail "$page and --help differ (< help, > man page)"
  # A full stop after a quoted sentence that ends in one renders as "..".
  rendered=$(groff -k -man -Tutf8 -P-c -P-b -P-u "$page" 2>&1) || fail "groff cannot render $page"
  printf '%s\n' "$rendered" | grep -nE '(^|[^.])\.\.([^.]|$)' && fail "$page: a doubled full stop"
  printf '%s\n' "$rendered" | grep -n 'warning' && fail "$page: groff warns"
  # The kinds of --fold: each "name (" of the help's --fold entry is a
  # ".B name" of the man page's, and the other way round.
  printf '%s\n' "$help" | sed -n '/--fold=/,/--explain/p' | grep -o '[a-z][a-z]* (' | sed 's/ (//' |
    sort -u > "$scratch/help-kinds"
  printf '%s\n' "$man" | sed -n '/^\.BI --fold=/,/^\.RE/s/^\.B \([a-z][a-z]*\)$/\1/p' | grep -v '^all$' |
    sort -u > "$scratch/man-kinds"
  [ -s "$scratch/help-kinds" ] || fail "no kinds of --fold in --help"
  diff "$scratch/help-kinds" "$scratch/man-kinds" || fail "$page: the kinds of --fold differ (< help, > man page)"
  # The --encoding paragraphs, as words: --help's from the option to the
  # next one, the man page's from the option to the next .TP, font macros dropped.
  printf '%s\n' "$help" | sed -n '/^  --encoding=ENC/,/^  --[a-z]/p' | sed '1s/^  --encoding=ENC//; $d' | words > "$scratch/help-enc"
  printf '%s\n' "$man" | sed -n '/^\.BI --encoding= ENC/,/^\.TP/p' | sed '1d; $d; s/^\.B //' | words > "$scratch/man-enc"
  [ -s "$scratch/help-enc" ] || fail "no --encoding paragraph in --help"
  diff "$scratch/help-enc" "$scratch/man-enc" || fail "$page: the encoding rule differs (< help, > man page)"
}

checked=0
for locale in C ja_JP.UTF-8; do
  help=$(LC_ALL=$locale LC_MESSAGES='' LANG='' ${runner:+"$runner"} "$program" --help) || fail "--help failed"
  case $help in
    Usage:*) check "$help" "$english" 'Commands:' 'COMMANDS' 'OPTIONS' ;;
    使い方:*) check "$help" "$japanese" 'コマンド:' 'コマンド' 'オプション' ;;
    *) fail "--help in LC_ALL=$locale begins with neither Usage: nor 使い方:" ;;
  esac
  checked=$((checked + 1))
  if [ -z "$runner" ]; then
    case $locale:$help in
      C:Usage:* | ja*:使い方:*) ;;
      *) fail "--help in LC_ALL=$locale is not in that language" ;;
    esac
  fi
done
echo "man page ok ($checked runs of --help)"
