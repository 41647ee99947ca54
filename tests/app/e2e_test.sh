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
. "$(dirname "$0")/x_session.sh"
trap x_cleanup EXIT

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
x_server 90 140

if [ -n "$as_root" ]; then
  QT_QPA_PLATFORM=xcb run_as_user "$home" env DISPLAY="$display" "$prefix/bin/tavrin" \
    >"$work/app.log" 2>&1 &
else
  env HOME="$home" DISPLAY="$display" QT_QPA_PLATFORM=xcb "$prefix/bin/tavrin" >"$work/app.log" 2>&1 &
fi
app_pid=$!
wait_window "$app_pid" 150
for _ in $(seq 200); do active_is "$window" && break; sleep 0.1; done
if ! active_is "$window"; then
  for w in $(xdotool search --onlyvisible --name '^Tavrin' 2>/dev/null); do xwininfo -id "$w" | head -3; done
  echo "active: $(xdotool getactivewindow 2>/dev/null) $(xdotool getactivewindow getwindowname 2>/dev/null)"
  fail "the window manager did not focus the window"
fi

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
alt_f4 50
ini=$home/.config/tavrin/tavrin.ini
if [ -n "$as_root" ]; then
  [ ! -e "$prefix/bin/tavrin.ini" ] || fail "the settings were written into the root-owned prefix"
else
  [ -f "$ini" ] || ini=$prefix/bin/tavrin.ini
fi
[ -f "$ini" ] || fail "no settings file"
settings_have "$ini" '[User]' 'FSetLvColumn0=480' 'FCopyCount=1' '[Form]' 'Maximized=0'
echo "end-to-end under openbox: $closed message boxes, 1 passed, 0 failed"
