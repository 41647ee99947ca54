#!/usr/bin/env bash
# Times tavrin-batch similar and all beside `LC_ALL=C sort | uniq -c` on the
# same generated files, with peak memory, for three shapes of input:
# repeat-heavy words (gen_lines_bench), all distinct (seq) and mostly
# distinct codes (gen_lines_bench codes). The commands take turns, ROUNDS
# rounds (5 unless set), and each keeps its best time and its largest peak
# (the machine is shared). With BEFORE naming another tavrin-batch (an
# earlier build), its two commands take their turns too: before and after
# from one run.
# Usage: [BEFORE=old/tavrin-batch] [ROUNDS=n] [SHAPES="repeat seq codes"] \
#        bench/run_bench.sh [BUILD_DIR] [LINES...]   (default 1000000 5000000)
set -euo pipefail
build=${1:-build}
shift || true
sizes=${*:-1000000 5000000}
bin=$build/bin
[ -x "$bin/tavrin-batch" ] && [ -x "$bin/gen_lines_bench" ] || {
  echo "build first: cmake --build $build" >&2
  exit 1
}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Runs a command through bash; appends "seconds peak_kb" to the file $2.
run() {
  /usr/bin/time -f '%e %M' -o "$tmp/time" bash -c "$1" >/dev/null 2>&1
  cat "$tmp/time" >>"$2"
}

# "best_seconds largest_peak_kb" of the lines in file $1.
best() { awk 'NR == 1 || $1 < s { s = $1 } $2 > k { k = $2 } END { print s, k }' "$1"; }

printf '%-8s %-7s %-15s %8s %8s %9s %6s\n' lines shape command seconds peak_MB input_MB ratio
for n in $sizes; do
  for shape in ${SHAPES:-repeat seq codes}; do
    file=$tmp/$shape-$n.txt
    case $shape in
      repeat) "$bin/gen_lines_bench" "$n" >"$file" ;;
      seq) seq 1 "$n" >"$file" ;;
      codes) "$bin/gen_lines_bench" codes "$n" >"$file" ;;
    esac
    rm -f "$tmp"/r-*
    for _ in $(seq "${ROUNDS:-5}"); do
      run "LC_ALL=C sort '$file' | uniq -c" "$tmp/r-sort"
      if [ -n "${BEFORE:-}" ]; then
        run "'$BEFORE' similar < '$file'" "$tmp/r-similar-before"
        run "'$BEFORE' all < '$file'" "$tmp/r-all-before"
      fi
      run "'$bin/tavrin-batch' similar < '$file'" "$tmp/r-similar"
      run "'$bin/tavrin-batch' all < '$file'" "$tmp/r-all"
    done
    size_mb=$(awk -v b="$(stat -c %s "$file")" 'BEGIN{printf "%.1f", b/1048576}')
    read -r ref_s _ < <(best "$tmp/r-sort")
    for cmd in sort ${BEFORE:+similar-before all-before} similar all; do
      read -r s kb < <(best "$tmp/r-$cmd")
      ratio=$(awk -v a="$s" -v b="$ref_s" 'BEGIN{ if (b > 0) printf "%.2f", a/b; else print "-" }')
      label=$cmd; [ "$cmd" = sort ] && label="sort|uniq"
      printf '%-8s %-7s %-15s %8s %8.1f %9s %6s\n' "$n" "$shape" "$label" "$s" "$(awk -v k="$kb" 'BEGIN{print k/1024}')" "$size_mb" "$ratio"
    done
    echo "         $shape: $(LC_ALL=C sort -u "$file" | wc -l) distinct of $n lines"
  done
done
