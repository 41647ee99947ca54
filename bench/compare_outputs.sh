#!/usr/bin/env bash
# Runs two builds of tavrin-batch on the benchmark's three shapes of input
# (repeat-heavy, all distinct, mostly distinct, and the last again as UTF-8
# with a byte order mark) with every command and several option sets, and
# reports any difference of standard output or of the summary. For checking that a rework leaves every result as it was.
# Usage: bench/compare_outputs.sh OLD_BATCH NEW_BATCH [GEN_LINES_BENCH] [LINES]
set -euo pipefail
old=$1 new=$2
# The summary in the window's Japanese words, which builds of every age write.
export LC_ALL=ja_JP.UTF-8
gen=${3:-$(dirname "$new")/gen_lines_bench}
n=${4:-1000000}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
"$gen" "$n" >"$tmp/repeat.txt"
seq 1 "$n" >"$tmp/seq.txt"
"$gen" codes "$n" >"$tmp/codes.txt"
# The codes once more as UTF-8 with a byte order mark, which the output keeps.
{ printf '\357\273\277'; iconv -f CP932 -t UTF-8 "$tmp/codes.txt"; } >"$tmp/utf8.txt"
options=("" "--no-zenkaku" "--no-upper" "--no-zenkaku --no-upper" "--trim --no-sort"
  "--no-hyphen --no-hyphen-terminate --no-count")
runs=0 differ=0
for shape in repeat seq codes utf8; do
  for command in all similar map normalize; do
    for o in "${options[@]}"; do
      # shellcheck disable=SC2086  # the option sets are word lists
      "$old" $command $o <"$tmp/$shape.txt" >"$tmp/old.out" 2>"$tmp/old.err" || true
      # shellcheck disable=SC2086
      "$new" $command $o <"$tmp/$shape.txt" >"$tmp/new.out" 2>"$tmp/new.err" || true
      runs=$((runs + 1))
      if ! cmp -s "$tmp/old.out" "$tmp/new.out" || ! cmp -s "$tmp/old.err" "$tmp/new.err"; then
        echo "differs: $shape $command $o"
        differ=$((differ + 1))
      fi
    done
  done
done
echo "$runs runs at $n lines, $differ differ"
[ "$differ" -eq 0 ]
