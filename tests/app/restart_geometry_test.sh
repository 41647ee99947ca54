#!/usr/bin/env bash
# The window's place across restarts under a window manager: three starts
# and closes, the user touching nothing, leave the saved Left, Top, Width
# and Height as they were; a saved place whose title bar lies off the
# screen comes back onto it.
# Usage: restart_geometry_test.sh CMAKE BUILD_DIR
set -euo pipefail
cmake=$1
build=$2
work=$(mktemp -d)
cleanup() {
  [ -n "${app_pid:-}" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "${wm_pid:-}" ] && kill "$wm_pid" 2>/dev/null || true
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; cat "$work/app.log" 2>/dev/null || true; exit 1; }

prefix=$work/prefix
"$cmake" --install "$build" --prefix "$prefix" >/dev/null
ini=$prefix/bin/tavrin.ini  # the prefix is writable: the portable settings file
mkdir -p "$work/home"

display=""
for n in $(seq 141 190); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || fail "no free display"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp -ac >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
openbox >"$work/wm.log" 2>&1 &
wm_pid=$!
for _ in $(seq 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done
sleep 1.5  # openbox manages new windows a moment after it announces itself

form_keys() { tr -d '\r' <"$ini" | sed -n '/^\[Form\]/,/^\[/p' | grep -E '^(Left|Top|Width|Height)='; }

# One start and close through the window manager (Alt+F4).
start_and_close() {
  env HOME="$work/home" QT_QPA_PLATFORM=xcb "$prefix/bin/tavrin" >"$work/app.log" 2>&1 &
  app_pid=$!
  local window=""
  for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name '^Tavrin$' 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || fail "no window"
  sleep 1.5  # framed and settled
  xdotool windowactivate --sync "$window" key alt+F4
  for _ in $(seq 50); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$app_pid" 2>/dev/null && fail "the window did not close"
  wait "$app_pid" || fail "exit status $?"
  app_pid=""
}

write_form() {
  printf '[User]\r\n[Form]\r\nLeft=%s\r\nTop=%s\r\nWidth=637\r\nHeight=347\r\nMaximized=0\r\n' "$1" "$2" >"$ini"
}

write_form 20 20
expected=$(form_keys)
for start in 1 2 3; do
  start_and_close
  [ "$(form_keys)" = "$expected" ] || fail "start $start changed the keys: $(form_keys | tr '\n' ' ')"
done

# A title bar above the screen comes back onto it, and stays there.
write_form 100 -20
start_and_close
[ "$(form_keys | tr '\n' ' ')" = "Left=100 Top=0 Width=637 Height=347 " ] ||
  fail "off-screen place: $(form_keys | tr '\n' ' ')"
start_and_close
[ "$(form_keys | tr '\n' ' ')" = "Left=100 Top=0 Width=637 Height=347 " ] ||
  fail "after the move back: $(form_keys | tr '\n' ' ')"
echo "restart geometry under openbox: 5 starts, keys kept"
