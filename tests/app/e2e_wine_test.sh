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
. "$(dirname "$0")/x_session.sh"
trap x_cleanup EXIT
x_activate=1 x_crlf_free=1

mkdir "$work/Tavrin"
cp "$exe" "$work/Tavrin/tavrin.exe"
x_server 141 190
wine_session "$run"

start_wine_tavrin "$work/Tavrin"
focus_window
sleep 0.5

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
# Ctrl+A selects every row.
press ctrl+a
message Return "$(next_closer)"
expect_clipboard $'a\t1\r\nb\t2\r\ncafé\t1\r\n'
# A plain click, or a move key, then leaves one row selected.
xdotool mousemove --window "$window" 100 162 click 1
sleep 0.5
message Return "$(next_closer)"
expect_clipboard $'b\t2\r\n'
press ctrl+a
press Down
message Return "$(next_closer)"
expect_clipboard $'café\t1\r\n'

# The row's menu: a pop-up menu is a mapped window of the program without
# a name. A right click opens one; once an item is chosen, none follows.
menus() {
  xwininfo -root -children | sed -n 's/^ *\(0x[0-9a-f]*\) (has no name): ("tavrin.exe".*/\1/p' | while read -r w; do
    xwininfo -id "$w" | grep -q 'Map State: IsViewable' || continue
    xwininfo -id "$w" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {exit !(w > 1 && h > 1)}' && echo "$w"
  done | grep -c . || true
}
expect_menus() {
  for _ in $(seq 20); do [ "$(menus)" -eq "$1" ] && return 0; sleep 0.1; done
  fail "$step: $(menus) menus instead of $1"
}
step="right click on a row"
focus_window
xdotool mousemove --window "$window" 100 134 click 3
sleep 0.5
expect_menus 1
# Its first item copies every row, and says so in one box.
xdotool key Down Return
step="the menu's first item"
close_box "$(next_closer)"
sleep 1
expect_menus 0
[ "$(count)" -eq 0 ] || fail "$step: another message box followed"
# Shift+F10 and the menu key open it once, at the selected row.
for key in shift+F10 Menu; do
  step=$key
  focus_window
  xdotool key "$key"
  sleep 0.5
  expect_menus 1
  xdotool key Escape
  expect_menus 0
done

# Ctrl+C in a message box copies its text as the system's boxes do.
step="Ctrl+C in a message box"
focus_window
xdotool key F1
await_box
xdotool key ctrl+c
rule=---------------------------
expect_clipboard "$rule"$'\n'Tavrin$'\n'"$rule"$'\n'"tavrin.pdf が見つかりません"$'\n'"$rule"$'\n'"OK   "$'\n'"$rule"$'\n'
close_box "$(next_closer)"

# [前面表示] keeps the window above the others, and the second click ends it.
above() { xprop -id "$window" _NET_WM_STATE | grep -c _NET_WM_STATE_ABOVE || true; }
for want in 1 0; do
  step="[前面表示] to $want"
  focus_window
  xdotool mousemove --window "$window" 397 38 click 1
  for _ in $(seq 20); do [ "$(above)" -eq "$want" ] && break; sleep 0.1; done
  [ "$(above)" -eq "$want" ] || fail "$step: the window manager's above state is $(above)"
done

# A double click on the tool bar puts the listed counts' total (1 + 2 + 1)
# in the caption.
xdotool mousemove --window "$window" 620 20 click --repeat 2 --delay 80 1
for _ in $(seq 30); do [ "$(xdotool getwindowname "$window")" = 4 ] && break; sleep 0.1; done
[ "$(xdotool getwindowname "$window")" = 4 ] || fail "the caption after a double click: $(xdotool getwindowname "$window")"
# Dragged by the tool bar, the window follows the pointer.
place() { xdotool getwindowgeometry "$window" | sed -n 's/^ *Position: \([0-9-]*,[0-9-]*\).*/\1/p'; }
before=$(place)
xdotool mousemove --window "$window" 620 20 mousedown 1 mousemove_relative 10 10 sleep 0.2 \
  mousemove_relative 40 30 sleep 0.3 mouseup 1
sleep 0.5
[ "$(place)" != "$before" ] || fail "dragging the tool bar did not move the window"

# Only blanks: each command says so once, and the clipboard stays.
set_clipboard $'  \n'
message F5 "$(next_closer)"
message F6 "$(next_closer)"
expect_clipboard $'  \n'

# The window's extras. No manual beside this copy: F1 says so.
message F1 "$(next_closer)"
# A right click on the help image copies the diagnostics once the user says
# yes (the default button), and leaves the clipboard when they say no.
message @547,57,3 Return "$(next_closer)"
[ "$(clipboard_has '^Install Environment -')" -eq 1 ] || fail "no diagnostics on the clipboard"
[ "$(clipboard_has '^Install folder : "Z:.*\\Tavrin"')" -eq 1 ] || fail "the diagnostics name another folder"
[ "$(clipboard_has '^Disk Free space : [0-9][0-9]* MB')" -eq 1 ] || fail "the diagnostics lack the free space"
[ "$(clipboard_has '^Ini File description -')" -eq 1 ] || fail "the diagnostics lack the settings file"
set_clipboard 'z'
message @547,57,3 Escape
expect_clipboard 'z'
# Ctrl and a right click on the version image switch debug mode on and
# off, asked and told each time.
message @575,58,3,ctrl Return "$(next_closer)"
message @575,58,3,ctrl Return "$(next_closer)"

# Widened, the window shows one size grip, in its new corner: the status
# bar where the old corner was is all one colour. Then back to its size,
# which the settings file keeps.
step="widening the window"
eval "$(xdotool getwindowgeometry --shell "$window" | grep -E '^(WIDTH|HEIGHT)=')"
xdotool windowsize "$window" 700 400
sleep 1
xdotool windowsize "$window" 860 400
sleep 1.5
colours=$(import -window "$window" -crop 100x10+600+388 -format %k info:)
[ "$colours" -eq 1 ] || fail "$step: $colours colours where the size grip was"
xdotool windowsize "$window" "$WIDTH" "$HEIGHT"
sleep 1

alt_f4
ini=$work/Tavrin/tavrin.ini
[ -f "$ini" ] || fail "no settings file beside the program"
# The design's form, its frame counted as the system makes it at 96 dpi.
settings_have "$ini" '[User]' 'FSetLvColumn0=480' 'FCopyCount=1' '[Form]' 'Width=653' 'Height=385' 'Maximized=0'
echo "end-to-end under wine: $closed message boxes, 1 passed, 0 failed"
