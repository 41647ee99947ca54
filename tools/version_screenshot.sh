#!/usr/bin/env bash
# Screenshot of the version dialog mid-animation under a virtual X server.
# Usage: tools/version_screenshot.sh [out-dir]  (after building tavrin_widgets_ui in build/)
# Writes dialog.png (the dialog's own grab) and screen.png (the whole screen,
# when ImageMagick's import is installed).
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-build/screenshots}
mkdir -p "$out"
cmake --build build --target tavrin_widgets_ui >/dev/null
c++ -std=c++20 -fPIC -I. $(pkg-config --cflags Qt6Widgets) tools/version_screenshot.cpp \
  build/widgets/libtavrin_widgets_ui.a build/widgets/libtavrin_widgets.a build/util/libtavrin_util.a \
  $(pkg-config --libs Qt6Widgets) -o "$out/version_screenshot"
grab=""
if command -v import >/dev/null; then grab="import -window root $out/screen.png"; fi
TAVRIN_SCREEN_GRAB="$grab" QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 800x600x24" \
  "$out/version_screenshot" "$out/dialog.png"
ls -l "$out"/*.png
