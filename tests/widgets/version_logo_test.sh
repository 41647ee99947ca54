#!/usr/bin/env bash
# The version dialog's logo in a real X session under openbox: grey and
# still when it opens, moving once the pointer has been put over OK (by a
# single jump, as a tool or a tablet moves it): two captures a few hundred
# milliseconds apart differ.
# Usage: version_logo_test.sh CMAKE BUILD_DIR
set -euo pipefail
work=$(mktemp -d)
. "$(dirname "$0")/../app/x_session.sh"
trap x_cleanup EXIT
x_session "$1" "$2"
start_tavrin

# imgVersion: left 563, top 46 on the tool bar, 24 x 24.
xdotool mousemove --window "$window" 575 58 click 1
dialog=""
for _ in $(seq 50); do
  dialog=$(xdotool search --onlyvisible --name 'バージョン情報' 2>/dev/null | head -n 1 || true)
  [ -n "$dialog" ] && break
  sleep 0.1
done
[ -n "$dialog" ] || fail "no version dialog"
sleep 0.5
# The logo band: 407 x 81 at 10, 7 inside the dialog.
logo() { import -window "$dialog" -crop 407x81+10+7 "$work/$1.png" 2>/dev/null; md5sum <"$work/$1.png"; }
still1=$(logo still1); sleep 0.4; still2=$(logo still2)
[ "$still1" = "$still2" ] || fail "the logo moved before the pointer came over OK"
# OK: 121 x 45 at 152, 152.
xdotool mousemove --window "$dialog" 210 172
sleep 1.6  # the one-second pause, then the animation
first=$(logo first); sleep 0.35; second=$(logo second)
[ "$first" != "$second" ] || fail "the logo did not move"
[ "$first" != "$still1" ] || fail "the logo did not change when the pointer came over OK"
# Nothing is saved here: the program ends without its close.
kill -9 "$app_pid"
wait "$app_pid" 2>/dev/null || true
app_pid=""
echo "version logo under openbox: still, then moving"
