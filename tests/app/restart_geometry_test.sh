#!/usr/bin/env bash
# The window's place across restarts under a window manager: a first start
# saves the design's form of 653 x 385 (the frame counted as on Windows);
# three starts and closes, the user touching nothing, leave the saved Left,
# Top, Width and Height as they were; a saved place whose title bar lies
# off the screen comes back onto it; a window saved maximised comes back
# so, and keeps its restored rectangle.
# Usage: restart_geometry_test.sh CMAKE BUILD_DIR
set -euo pipefail
cmake=$1
build=$2
work=$(mktemp -d)
. "$(dirname "$0")/x_session.sh"
trap x_cleanup EXIT
x_session "$cmake" "$build"

form_keys() { tr -d '\r' <"$ini" | sed -n '/^\[Form\]/,/^\[/p' | grep -E "^(Left|Top|Width|Height${1:-})="; }

start_and_close() {
  start_tavrin
  close_tavrin
}

write_form() {
  printf '[User]\r\n[Form]\r\nLeft=%s\r\nTop=%s\r\nWidth=653\r\nHeight=385\r\nMaximized=%s\r\n' "$1" "$2" "${3:-0}" >"$ini"
}

rm -f "$ini"
start_and_close
[ "$(form_keys | grep -E '^(Width|Height)=' | tr '\n' ' ')" = "Width=653 Height=385 " ] ||
  fail "first start: $(form_keys | tr '\n' ' ')"

write_form 20 20
expected=$(form_keys)
for start in 1 2 3; do
  start_and_close
  [ "$(form_keys)" = "$expected" ] || fail "start $start changed the keys: $(form_keys | tr '\n' ' ')"
done

# A title bar above the screen comes back onto it, and stays there.
write_form 100 -20
start_and_close
[ "$(form_keys | tr '\n' ' ')" = "Left=100 Top=0 Width=653 Height=385 " ] ||
  fail "off-screen place: $(form_keys | tr '\n' ' ')"
start_and_close
[ "$(form_keys | tr '\n' ' ')" = "Left=100 Top=0 Width=653 Height=385 " ] ||
  fail "after the move back: $(form_keys | tr '\n' ' ')"

write_form 30 40 1
start_tavrin
xprop -id "$window" _NET_WM_STATE | grep -q MAXIMIZED || fail "not maximised: $(xprop -id "$window" _NET_WM_STATE)"
close_tavrin
[ "$(form_keys '|Maximized' | tr '\n' ' ')" = "Left=30 Top=40 Width=653 Height=385 Maximized=1 " ] ||
  fail "maximised: $(form_keys '|Maximized' | tr '\n' ' ')"
echo "restart geometry under openbox: 7 starts, keys kept"
