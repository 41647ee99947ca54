#!/bin/sh
# The man page names every command and option that --help lists, and no
# other, and renders without a doubled full stop.
#   man_page_test.sh <tavrin-batch> <tavrin-batch.1>
set -eu
fail() { echo "FAIL: $*" >&2; exit 1; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
help=$("$1" --help) || fail "--help failed"
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
echo "man page ok"
