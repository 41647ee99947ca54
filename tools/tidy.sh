#!/usr/bin/env bash
# Runs clang-tidy with the committed .clang-tidy over the Qt-free core: the
# sources at the top of util/, engine/, settings/, widgets/ and app/, and
# the batch program's entry, with the headers they include from those
# folders. The skins (qt/, win32/) and the tests are left out. Reads the
# compile commands of a configured build; fails on any finding.
# Usage: tools/tidy.sh [build folder, default build] [jobs, default nproc]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
jobs=${2:-$(nproc)}
tidy=$(command -v clang-tidy-14 || command -v clang-tidy)
if [ ! -f "$build/compile_commands.json" ]; then
  echo "tools/tidy.sh: no $build/compile_commands.json; configure the build first" >&2
  exit 1
fi
root=$(pwd -P)
# The core's sources as the build compiles them (one platform's os seam).
mapfile -t sources < <(python3 - "$build/compile_commands.json" "$root" <<'PY'
import json, re, sys
root = sys.argv[2]
core = re.compile(re.escape(root) + r"/((util|engine|settings|widgets|app)/[^/]+|app/batch/[^/]+)\.cpp$")
for entry in json.load(open(sys.argv[1])):
    if core.match(entry["file"]):
        print(entry["file"])
PY
)
if [ ${#sources[@]} -lt 50 ]; then
  echo "tools/tidy.sh: only ${#sources[@]} core sources in $build; is the pattern still right?" >&2
  exit 1
fi
log=$(mktemp)
trap 'rm -f "$log"' EXIT
status=0
printf '%s\0' "${sources[@]}" |
  xargs -0 -n 1 -P "$jobs" "$tidy" -p "$build" --quiet >"$log" 2>&1 || status=$?
findings=$(grep -cE '^[^ ].*: (warning|error): ' "$log" || true)
if [ "$status" -ne 0 ] || [ "$findings" -ne 0 ]; then
  grep -vE '^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$' "$log" >&2 || true
  echo "clang-tidy: $findings findings in the core (exit status $status)" >&2
  exit 1
fi
echo "clang-tidy: no findings in ${#sources[@]} core sources"
