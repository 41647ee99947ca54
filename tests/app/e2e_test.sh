#!/usr/bin/env bash
# End to end: the real program on its own X server. Text goes onto the X
# clipboard with xclip, F5, F6 and F7 are pressed with xdotool, the result is
# read back from the clipboard, the settings dialog is opened and closed, and
# the settings file written at closing is checked.
# Usage: e2e_test.sh PATH_TO_TAVRIN
set -euo pipefail
program=$1
work=$(mktemp -d)
display=""
cleanup() {
  [ -n "${app_pid:-}" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A display number nobody uses.
for n in $(seq 90 140); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "no free display"; exit 1; }
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

# The program keeps its settings beside itself: run a copy in a folder of ours.
cp "$program" "$work/tavrin"
printf 'ユニット\nﾕﾆｯﾄ\nユニット\nテスト\n' | xclip -selection clipboard -i
QT_QPA_PLATFORM=xcb "$work/tavrin" >"$work/app.log" 2>&1 &
app_pid=$!
window=""
for _ in $(seq 100); do
  window=$(xdotool search --name '^Tavrin' 2>/dev/null | head -n 1 || true)
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { echo "the window did not appear"; cat "$work/app.log"; exit 1; }
sleep 1
# Without a window manager the keyboard follows the pointer.
xdotool mousemove --sync 300 200
expect_clipboard() {
  local want=$1 got
  for _ in $(seq 50); do
    got=$(xclip -selection clipboard -o 2>/dev/null | od -An -c | tr -s ' ')
    [ "$got" = "$(printf '%s' "$want" | od -An -c | tr -s ' ')" ] && return 0
    sleep 0.1
  done
  echo "clipboard: expected"; printf '%s' "$want" | od -c; echo "got"; xclip -selection clipboard -o | od -c
  return 1
}

# The copy's message box is centred on the screen: the pointer goes there,
# Enter closes it, and the pointer comes back to the window.
dismiss_message() {
  sleep 0.5
  xdotool mousemove --sync 512 384 key Return
  sleep 0.3
  xdotool mousemove --sync 300 200
}

xdotool key F5
sleep 0.5
xdotool key F7
expect_clipboard $'ユニット\t2\r\nﾕﾆｯﾄ\t1\r\n'
dismiss_message

printf 'b\na\nb\n' | xclip -selection clipboard -i
xdotool key F6
sleep 0.5
xdotool key F7
expect_clipboard $'a\t1\r\nb\t2\r\n'
dismiss_message

# The settings dialog from sbSet (the sixth tool button): its caption is
# shown exactly as set, and Escape closes it.
xdotool mousemove --sync 487 40 click 1
dialog=""
for _ in $(seq 50); do
  dialog=$(xdotool search --onlyvisible --name '^Tavrin 設定ダイアログ' 2>/dev/null | head -n 1 || true)
  [ -n "$dialog" ] && break
  sleep 0.1
done
[ -n "$dialog" ] || { echo "the settings dialog did not appear"; exit 1; }
caption=$(xdotool getwindowname "$dialog")
[ "$caption" = 'Tavrin 設定ダイアログ' ] || { echo "settings dialog caption: $caption"; exit 1; }
sleep 0.3
xdotool mousemove --sync 512 384 key Escape
for _ in $(seq 50); do
  xdotool search --onlyvisible --name '^Tavrin 設定ダイアログ' >/dev/null 2>&1 || break
  sleep 0.1
done
if xdotool search --onlyvisible --name '^Tavrin 設定ダイアログ' >/dev/null 2>&1; then
  echo "Escape did not close the settings dialog"; exit 1
fi
xdotool mousemove --sync 300 200

# Close with the window's own close button (sbClose, the first tool button).
xdotool mousemove --sync 48 40 click 1
for _ in $(seq 50); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$app_pid" 2>/dev/null; then echo "the window did not close"; exit 1; fi
app_pid=""
ini=$work/tavrin.ini
[ -f "$ini" ] || { echo "no settings file"; exit 1; }
for line in '[User]' 'FSetLvColumn0=480' 'FCopyCount=1' 'lvResultName=Meiryo UI' '[Form]' 'Maximized=0'; do
  grep -qxF "$line" <(tr -d '\r' <"$ini") || { echo "settings file lacks: $line"; cat "$ini"; exit 1; }
done
echo "end-to-end: 1 passed, 0 failed"
