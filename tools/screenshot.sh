#!/usr/bin/env bash
# Takes docs/screenshot.png: the main window with a real [類字抽出] result,
# on a private Xvfb display. Needs a built program (build/bin/tavrin).
#   tools/screenshot.sh [input file, default app/example.txt]
set -euo pipefail
cd "$(dirname "$0")/.."
input=${1:-app/example.txt}
program=build/bin/tavrin
[ -x "$program" ] || { echo "build the program first: $program is missing" >&2; exit 1; }
for tool in Xvfb xclip xdotool import; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (see tools/deps.sh)" >&2; exit 1; }
done

# Run a copy in a scratch folder so the settings file it writes beside itself
# is a fresh one, not the developer's.
work=$(mktemp -d)
cp "$program" build/bin/tavrin.pdf "$work/" 2>/dev/null || cp "$program" "$work/"
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp &
xvfb=$!
app=""
cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done

# The clipboard owner must stay alive while the program reads it; xclip
# forks into the background and serves the selection until it is replaced.
xclip -selection clipboard -in < "$input"

QT_QPA_PLATFORM=xcb "$work/tavrin" &
app=$!
window=""
for _ in $(seq 100); do
  window=$(xdotool search --onlyvisible --name '^Tavrin$' 2>/dev/null | head -n 1) && [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { echo "the main window did not appear" >&2; exit 1; }
# No window manager runs here: give the window the input focus directly and
# press F5 through XTEST, as a real keyboard would.
xdotool windowmove "$window" 0 0 2>/dev/null || true
xdotool windowfocus --sync "$window" 2>/dev/null || true
sleep 0.5
xdotool key F5
sleep 1.5

mkdir -p docs
import -window "$window" docs/screenshot.png
echo "wrote docs/screenshot.png"
