#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test:
#  1. the normal build (g++, Qt user interface) with all unit, GUI and
#     end-to-end tests through CTest;
#  2. a clang build of the Qt-free core with AddressSanitizer and
#     UndefinedBehaviorSanitizer: the core tests again, and each fuzz
#     target for a short run.
set -euo pipefail
cd "$(dirname "$0")"
. tools/deps.sh
tavrin_install_deps

jobs=$(nproc)
fuzz_seconds=${TAVRIN_FUZZ_SECONDS:-15}

echo "== normal build"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVRIN_WERROR=ON
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs" --timeout 600

echo "== sanitizer build (core)"
CC=clang CXX=clang++ cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DTAVRIN_GUI=OFF -DTAVRIN_BENCH=OFF -DTAVRIN_SANITIZE=ON -DTAVRIN_FUZZ=ON -DTAVRIN_WERROR=ON
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs" --timeout 600

echo "== fuzz runs (${fuzz_seconds}s each)"
shopt -s nullglob
for f in build-asan/bin/*_fuzz; do
  corpus="build-asan/corpus/$(basename "$f")"
  mkdir -p "$corpus"
  seeds="tests/fuzz/seeds/$(basename "$f")"
  [ -d "$seeds" ] || seeds=""
  echo "-- $(basename "$f")"
  "$f" -max_total_time="$fuzz_seconds" -print_final_stats=1 "$corpus" $seeds 2>&1 | tail -n 12
done
echo "All tests passed."
