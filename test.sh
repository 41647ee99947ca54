#!/usr/bin/env bash
# Installs what is missing, checks every C++ source against .clang-format,
# builds everything and runs every test:
#  1. the normal build (g++, Qt user interface) with all unit, GUI and
#     end-to-end tests through CTest, and clang-tidy over the Qt-free core
#     with its compile commands;
#  2. a clang build of the Qt-free core with AddressSanitizer and
#     UndefinedBehaviorSanitizer: the core tests again, and each fuzz
#     target for a short run;
#  3. the Windows build (mingw-w64): the core tests and the Windows tests
#     under wine, tavrin-batch.exe against the Linux batch's bytes, and the
#     packages (zip and installer), made and installed under wine.
set -euo pipefail
cd "$(dirname "$0")"
. tools/deps.sh
tavrin_install_deps

jobs=$(nproc)
fuzz_seconds=${TAVRIN_FUZZ_SECONDS:-15}

echo "== format"
tools/format_check.sh

echo "== normal build"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVRIN_WERROR=ON
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs" --timeout 600

echo "== clang-tidy over the core"
tools/tidy.sh build "$jobs"

echo "== sanitizer build (core)"
CC=clang CXX=clang++ cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DTAVRIN_UI=none -DTAVRIN_BENCH=OFF -DTAVRIN_SANITIZE=ON -DTAVRIN_FUZZ=ON -DTAVRIN_WERROR=ON
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
echo "== windows build (mingw-w64, tests under wine)"
tavrin_install_windows_deps
# Wine draws windows, when a program makes one, on an X display: without
# one, a private Xvfb for this stage.
xvfb_pid=""
stop_windows_stage() {
  WINEPREFIX="$PWD/build-win/wineprefix" wineserver -k 2>/dev/null || true
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
}
trap stop_windows_stage EXIT
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 150 199); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
      Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
      xvfb_pid=$!
      export DISPLAY=":$n"
      for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
      break
    fi
  done
fi
stage_start=$SECONDS
cmake -S . -B build-win -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVRIN_BENCH=OFF -DTAVRIN_WERROR=ON \
  -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-x86_64.cmake \
  -DTAVRIN_REFERENCE_BATCH="$PWD/build/bin/tavrin-batch"
cmake --build build-win -j "$jobs"
cmake --build build-win --target package
build_seconds=$((SECONDS - stage_start))
build-win/wine-run cmd /c exit  # makes the wine prefix and starts wine once
# A test that fails is run once more: wine's server can drop a client that
# connects while it shuts down ("recvmsg: connection reset"), which says
# nothing about the program. A real fault fails both times.
ctest --test-dir build-win --output-on-failure -j "$jobs" --timeout 600 --repeat until-pass:2
echo "windows build: ${build_seconds}s to build and package, $((SECONDS - stage_start - build_seconds))s of tests"
echo "All tests passed."
