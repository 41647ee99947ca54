#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")"
. tools/deps.sh
tavrin_install_deps
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)"
if [ -x build/bin/tavrin ]; then
  exec build/bin/tavrin "$@"
fi
# Until the window is built, show the batch program on the bundled example.
echo "Example input (app/example.txt):"
cat app/example.txt
echo "---- tavrin-batch similar --utf8:"
build/bin/tavrin-batch similar --utf8 < app/example.txt
