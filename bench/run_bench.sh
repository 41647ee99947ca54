#!/usr/bin/env bash
# Times tavrin-batch similar and all beside `LC_ALL=C sort | uniq -c` on the
# same generated files, with peak memory. Usage: bench/run_bench.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build}
bin=$build/bin
[ -x "$bin/tavrin-batch" ] && [ -x "$bin/gen_lines_bench" ] || {
  echo "build first: cmake --build $build" >&2
  exit 1
}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Prints "seconds peak_kb" for a command run through bash: the best wall
# time of three runs (the machine is shared) and the largest peak.
measure() {
  local best='' peak=0 s kb
  for _ in 1 2 3; do
    /usr/bin/time -f '%e %M' -o "$tmp/time" bash -c "$1" >/dev/null 2>&1
    read -r s kb <"$tmp/time"
    if [ -z "$best" ] || awk -v a="$s" -v b="$best" 'BEGIN{exit !(a < b)}'; then best=$s; fi
    [ "$kb" -gt "$peak" ] && peak=$kb
  done
  echo "$best $peak"
}

printf '%-8s %-10s %10s %10s %12s %8s\n' lines command seconds peak_MB input_MB ratio
for n in 10000 100000 1000000; do
  file=$tmp/lines-$n.txt
  "$bin/gen_lines_bench" "$n" >"$file"
  size_mb=$(awk -v b="$(stat -c %s "$file")" 'BEGIN{printf "%.1f", b/1048576}')
  read -r ref_s ref_kb < <(measure "LC_ALL=C sort '$file' | uniq -c")
  printf '%-8s %-10s %10s %10.1f %12s %8s\n' "$n" "sort|uniq" "$ref_s" "$(echo "$ref_kb/1024" | bc -l)" "$size_mb" 1.00
  for cmd in similar all; do
    read -r s kb < <(measure "'$bin/tavrin-batch' $cmd < '$file'")
    ratio=$(awk -v a="$s" -v b="$ref_s" 'BEGIN{ if (b > 0) printf "%.2f", a/b; else print "-" }')
    printf '%-8s %-10s %10s %10.1f %12s %8s\n' "$n" "$cmd" "$s" "$(echo "$kb/1024" | bc -l)" "$size_mb" "$ratio"
  done
done
echo "distinct lines at 1M: $(LC_ALL=C sort -u "$tmp/lines-1000000.txt" | wc -l)"
