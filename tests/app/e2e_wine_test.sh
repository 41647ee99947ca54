#!/usr/bin/env bash
# End to end on Windows, as a user runs the program: tavrin.exe copied into
# a fresh folder (a portable copy keeps its settings beside itself), run
# under wine in the Japanese locale on a private X server with openbox.
# Keys go to the focused window; each message box must appear exactly once
# and is closed by Return, Space and Escape in turn, once by a click on its
# button; the clipboard (X and wine exchange it as Unicode) must hold what
# it should after each step.
# Usage: e2e_wine_test.sh WINE_RUN TAVRIN_EXE
set -euo pipefail
run=$1
exe=$2
work=$(mktemp -d)
cleanup() {
  [ -n "${app_pid:-}" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "${wm_pid:-}" ] && kill "$wm_pid" 2>/dev/null || true
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; cat "$work/app.log" 2>/dev/null || true; exit 1; }

mkdir "$work/Tavrin"
cp "$exe" "$work/Tavrin/tavrin.exe"

display=""
for n in $(seq 141 190); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || fail "no free display"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
openbox >"$work/wm.log" 2>&1 &
wm_pid=$!
for _ in $(seq 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done
sleep 1.5

(cd "$work/Tavrin" && exec "$run" ./tavrin.exe) >"$work/app.log" 2>&1 &
app_pid=$!
window=""
for _ in $(seq 600); do  # the first start of wine in a session takes seconds
  window=$(xdotool search --onlyvisible --name '^Tavrin$' 2>/dev/null | head -n 1 || true)
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || fail "the window did not appear"
xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
sleep 0.5

# Message boxes carry the application title, as the window does.
dialogs() { xdotool search --onlyvisible --name '^Tavrin$' 2>/dev/null | grep -vx "$window" || true; }
count() { dialogs | grep -c . || true; }

set_clipboard() { printf '%s' "$1" | xclip -selection clipboard -i; sleep 0.3; }
# Line ends: wine gives CR LF to Windows programs and LF back to X.
expect_clipboard() {
  local want got
  want=$(printf '%s' "$1" | tr -d '\r' | od -An -c | tr -s ' ')
  for _ in $(seq 50); do
    got=$(xclip -selection clipboard -o 2>/dev/null | tr -d '\r' | od -An -c | tr -s ' ')
    [ "$got" = "$want" ] && return 0
    sleep 0.1
  done
  echo "clipboard: expected $want"; echo "got $got"
  fail "clipboard after $step"
}
clipboard_has() { xclip -selection clipboard -o 2>/dev/null | grep -c -- "$1" || true; }

focus_window() {
  xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
  for _ in $(seq 50); do [ "$(xdotool getactivewindow 2>/dev/null)" = "$window" ] && break; sleep 0.1; done
}

press() {
  step="$*"
  focus_window
  xdotool key "$@"
  sleep 1
  [ "$(count)" -eq 0 ] || fail "$step showed a message box"
}

# The single button sits centred under the text, its centre 62 pixels above
# the form's bottom edge and 20 right of the form's centre.
click_button() {
  local WIDTH HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$1" | grep -E '^(WIDTH|HEIGHT)=')"
  xdotool mousemove --window "$1" $((WIDTH / 2 + 20)) $((HEIGHT - 62)) click 1
}

closers=(Return space Escape)
closed=0
keyed=0
message() {
  step="$1 closed with $2"
  focus_window
  xdotool key "$1"
  for _ in $(seq 100); do [ "$(count)" -ge 1 ] && break; sleep 0.1; done
  sleep 0.5
  [ "$(count)" -eq 1 ] || fail "$step: $(count) message boxes instead of one"
  local box
  box=$(dialogs)
  xdotool windowactivate --sync "$box" >/dev/null 2>&1 || true
  if [ "$2" = click ]; then
    click_button "$box"
  else
    xdotool key "$2"
    keyed=$((keyed + 1))
  fi
  for _ in $(seq 50); do [ "$(count)" -eq 0 ] && break; sleep 0.1; done
  sleep 1
  [ "$(count)" -eq 0 ] || fail "$step: another message box followed"
  closed=$((closed + 1))
}
next_closer() { echo "${closers[$((keyed % 3))]}"; }

# Characters outside code page 932 (é, 𠮷) come back as they went.
set_clipboard $'ユニット\nﾕﾆｯﾄ\nユニット\nテスト\ncafé\n𠮷野家\n'
press F5
message F7 "$(next_closer)"
expect_clipboard $'ユニット\t2\r\nﾕﾆｯﾄ\t1\r\n'
# The input with each variant written as its group's canonical spelling,
# then the table of replacements.
message F8 "$(next_closer)"
[ "$(clipboard_has 'ﾕﾆｯﾄ')" -eq 0 ] || fail "F8 left a variant in the normalized text"
[ "$(clipboard_has '𠮷野家')" -eq 1 ] || fail "F8 lost a character outside code page 932"
message F9 "$(next_closer)"
[ "$(clipboard_has 'ﾕﾆｯﾄ')" -ge 1 ] || fail "F9 did not copy the replacement table"

set_clipboard $'b\na\nb\ncafé\n'
press F6
message F7 "$(next_closer)"
expect_clipboard $'a\t1\r\nb\t2\r\ncafé\t1\r\n'
set_clipboard 'z'
message F7 click
expect_clipboard $'a\t1\r\nb\t2\r\ncafé\t1\r\n'
# Rows selected with the mouse: the first, then the second.
xdotool mousemove --window "$window" 100 134 click 1
sleep 0.5
message Return "$(next_closer)"
expect_clipboard $'a\t1\r\n'
xdotool mousemove --window "$window" 100 162 click 1
sleep 0.5
message ctrl+c "$(next_closer)"
expect_clipboard $'b\t2\r\n'

# Only blanks: each command says so once, and the clipboard stays.
set_clipboard $'  \n'
message F5 "$(next_closer)"
message F6 "$(next_closer)"
expect_clipboard $'  \n'

step="Alt+F4"
focus_window
xdotool key alt+F4
for _ in $(seq 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app_pid" 2>/dev/null && fail "the window did not close"
app_pid=""
ini=$work/Tavrin/tavrin.ini
[ -f "$ini" ] || fail "no settings file beside the program"
for line in '[User]' 'FSetLvColumn0=480' 'FCopyCount=1' '[Form]' 'Maximized=0'; do
  grep -qxF "$line" <(tr -d '\r' <"$ini") || fail "settings file lacks: $line"
done
echo "end-to-end under wine: $closed message boxes, 1 passed, 0 failed"
