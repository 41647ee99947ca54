#!/usr/bin/env bash
# End to end, as a user runs the program: installed with cmake --install,
# started as an ordinary user (nobody, when this runs as root) on a private
# X server under the openbox window manager, which gives the focus. Keys go
# to whatever window has the focus; message boxes are closed by the keyboard
# (Return, Space, Escape in turn) and one by a mouse click on its button;
# after each step exactly one box must have appeared and the clipboard must
# hold what it should.
# Usage: e2e_test.sh CMAKE BUILD_DIR
set -euo pipefail
cmake=$1
build=$2
work=$(mktemp -d)
chmod 755 "$work"
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
# The prefix stays root's, as a system-wide install: the settings must go to
# the user's configuration folder.
. "$(dirname "$0")/../install/run_as_user.sh"
home=$work/home
as_root=""
if [ "$(id -u)" -eq 0 ]; then
  as_root=1
  as_user_dir "$home"
else
  mkdir -p "$home"
fi

# A display number nobody uses; no access control, so the user may connect.
display=""
for n in $(seq 90 140); do
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
# openbox announces itself before it manages new windows; a window mapped in
# that gap is adopted like one from before its start, without the focus.
sleep 1.5

if [ -n "$as_root" ]; then
  QT_QPA_PLATFORM=xcb run_as_user "$home" env DISPLAY="$display" "$prefix/bin/tavrin" \
    >"$work/app.log" 2>&1 &
else
  env HOME="$home" DISPLAY="$display" QT_QPA_PLATFORM=xcb "$prefix/bin/tavrin" >"$work/app.log" 2>&1 &
fi
app_pid=$!
window=""
for _ in $(seq 150); do
  window=$(xdotool search --onlyvisible --name '^Tavrin$' 2>/dev/null | head -n 1 || true)
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || fail "the window did not appear"
for _ in $(seq 200); do [ "$(xdotool getactivewindow 2>/dev/null)" = "$window" ] && break; sleep 0.1; done
if [ "$(xdotool getactivewindow 2>/dev/null)" != "$window" ]; then
  for w in $(xdotool search --onlyvisible --name '^Tavrin' 2>/dev/null); do xwininfo -id "$w" | head -3; done
  echo "active: $(xdotool getactivewindow 2>/dev/null) $(xdotool getactivewindow getwindowname 2>/dev/null)"
  fail "the window manager did not focus the window"
fi

# Message boxes carry the application title, as the window does.
dialogs() { xdotool search --onlyvisible --name '^Tavrin$' 2>/dev/null | grep -vx "$window" || true; }
count() { dialogs | grep -c . || true; }

set_clipboard() { printf '%s' "$1" | xclip -selection clipboard -i; sleep 0.2; }
expect_clipboard() {
  local want got
  want=$(printf '%s' "$1" | od -An -c | tr -s ' ')
  for _ in $(seq 50); do
    got=$(xclip -selection clipboard -o 2>/dev/null | od -An -c | tr -s ' ')
    [ "$got" = "$want" ] && return 0
    sleep 0.1
  done
  echo "clipboard: expected $want"; echo "got $got"
  fail "clipboard after $step"
}

# press KEYS: a step that shows no message box.
press() {
  step="$*"
  xdotool key "$@"
  sleep 0.7
  [ "$(count)" -eq 0 ] || fail "$step showed a message box"
}

# The message form's single button sits centred under the text, 62 pixels
# above the form's bottom edge; its centre is 20 pixels right of the form's.
click_button() {
  local WIDTH HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$1" | grep -E '^(WIDTH|HEIGHT)=')"
  xdotool mousemove --window "$1" $((WIDTH / 2 + 20)) $((HEIGHT - 62)) click 1
}

# message KEY CLOSE: KEY shows exactly one box; CLOSE (a key, or "click" on
# the button) closes it, and none follows.
closers=(Return space Escape)
closed=0
keyed=0
message() {
  step="$1 closed with $2"
  xdotool key "$1"
  for _ in $(seq 100); do [ "$(count)" -ge 1 ] && break; sleep 0.1; done
  sleep 0.5
  [ "$(count)" -eq 1 ] || fail "$step: $(count) message boxes instead of one"
  local box
  box=$(dialogs)
  for _ in $(seq 50); do [ "$(xdotool getactivewindow 2>/dev/null)" = "$box" ] && break; sleep 0.1; done
  if [ "$2" = click ]; then
    click_button "$box"
  else
    xdotool key "$2"
    keyed=$((keyed + 1))
  fi
  for _ in $(seq 50); do [ "$(count)" -eq 0 ] && break; sleep 0.1; done
  sleep 1
  [ "$(count)" -eq 0 ] || fail "$step: another message box followed"
  for _ in $(seq 50); do [ "$(xdotool getactivewindow 2>/dev/null)" = "$window" ] && break; sleep 0.1; done
  closed=$((closed + 1))
}
next_closer() { echo "${closers[$((keyed % 3))]}"; }

set_clipboard $'ユニット\nﾕﾆｯﾄ\nユニット\nテスト\n'
press F5
message F7 "$(next_closer)"
expect_clipboard $'ユニット\t2\r\nﾕﾆｯﾄ\t1\r\n'

set_clipboard $'b\na\nb\n'
press F6
message F7 "$(next_closer)"
expect_clipboard $'a\t1\r\nb\t2\r\n'
# The copy's message closed with the mouse on its OK button.
set_clipboard 'z'
message F7 click
expect_clipboard $'a\t1\r\nb\t2\r\n'
# Rows are selected with the mouse: the first, then the second.
xdotool mousemove --window "$window" 100 133 click 1
sleep 0.5
message Return "$(next_closer)"
expect_clipboard $'a\t1\r\n'
xdotool mousemove --window "$window" 100 163 click 1
sleep 0.5
message ctrl+c "$(next_closer)"
expect_clipboard $'b\t2\r\n'

# Only blanks: each command says so once, and the clipboard stays.
set_clipboard $'  \n'
message F5 "$(next_closer)"
message F6 "$(next_closer)"
expect_clipboard $'  \n'
# Every command once more, so each box was closed by each key.
set_clipboard $'x\nX\n'
press F5
message F7 "$(next_closer)"
# Nothing selected after a command: the selected copy leaves the clipboard.
message Return "$(next_closer)"
message ctrl+c "$(next_closer)"
expect_clipboard $'X\t1\r\nx\t1\r\n'

# Close through the window manager (Alt+F4): the settings are saved.
step="Alt+F4"
xdotool key alt+F4
for _ in $(seq 50); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app_pid" 2>/dev/null && fail "the window did not close"
app_pid=""
ini=$home/.config/tavrin/tavrin.ini
if [ -n "$as_root" ]; then
  [ ! -e "$prefix/bin/tavrin.ini" ] || fail "the settings were written into the root-owned prefix"
else
  [ -f "$ini" ] || ini=$prefix/bin/tavrin.ini
fi
[ -f "$ini" ] || fail "no settings file"
for line in '[User]' 'FSetLvColumn0=480' 'FCopyCount=1' '[Form]' 'Maximized=0'; do
  grep -qxF "$line" <(tr -d '\r' <"$ini") || fail "settings file lacks: $line"
done
echo "end-to-end under openbox: $closed message boxes, 1 passed, 0 failed"
