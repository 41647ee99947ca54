#!/usr/bin/env bash
# The window's life with its settings file under wine, in the Japanese
# locale on a private X server with openbox:
#  - a file an editor saved as UTF-16 ("Unicode"), holding a maximised
#    window: the window comes back maximised; the session's end
#    (WM_QUERYENDSESSION, then WM_ENDSESSION) saves as a close does, the
#    file in CP932 alone with its values kept, and the program ends with 0;
#  - the file made read-only: the session's end shows no box, names the
#    failed save on standard error and ends with 1; closed by the user, the
#    box shows, and the exit status is 1 all the same.
# Usage: life_cycle_wine_test.sh WINE_RUN TAVRIN_EXE END_SESSION_EXE
set -euo pipefail
run=$1
exe=$2
sender=$3
work=$(mktemp -d)
. "$(dirname "$0")/x_session.sh"
trap x_cleanup EXIT
x_activate=1

mkdir "$work/Tavrin"
cp "$exe" "$work/Tavrin/tavrin.exe"
cp "$sender" "$work/end_session.exe"
ini=$work/Tavrin/tavrin.ini
x_server 231 270
wine_session "$run"

start() {
  start_wine_tavrin "$work/Tavrin"
  sleep 0.5
}
# ended STEP: waits for the program's end and sets its exit status.
ended() {
  for _ in $(seq 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$app_pid" 2>/dev/null && fail "$1: the program did not end (a box waits?)"
  status=0
  wait "$app_pid" || status=$?
  app_pid=""
}
end_session() {
  step="the session's end"
  "$run" "$work/end_session.exe" TfoMAIN || fail "the session's end was refused ($?)"
  ended "$step"
}

{
  printf '\xff\xfe'
  printf '%s\r\n' '[Tavrin Environment Data File. Created @ 2026/12/10 09:00:00]' \
    '[注意:本ファイルを編集しないでください(動作不具合の原因となります)]' \
    '[User]' 'FSound=0' 'lvResultName=ＭＳ ゴシック' \
    '[Form]' 'Left=40' 'Top=30' 'Width=700' 'Height=450' 'Maximized=1' | iconv -f UTF-8 -t UTF-16LE
} >"$ini"
start
for _ in $(seq 30); do xprop -id "$window" _NET_WM_STATE | grep -q MAXIMIZED && break; sleep 0.1; done
xprop -id "$window" _NET_WM_STATE | grep -q MAXIMIZED || fail "not maximised: $(xprop -id "$window" _NET_WM_STATE)"
end_session
[ "$status" -eq 0 ] || fail "a saved session's end exited with $status"
[ "$(head -c 7 "$ini")" = '[Tavrin' ] || fail "the file does not start with its header: $(head -c 16 "$ini" | od -An -tx1)"
[ "$(tr -d '\000' <"$ini" | wc -c)" -eq "$(wc -c <"$ini")" ] || fail "UTF-16 is left in the file"
iconv -f CP932 -t UTF-8 <"$ini" >"$work/ini.txt" || fail "the file is not CP932"
settings_have "$work/ini.txt" '[注意:本ファイルを編集しないでください(動作不具合の原因となります)]' \
  'FSound=0' 'lvResultName=ＭＳ ゴシック' 'FHint=1' 'Left=40' 'Top=30' 'Width=700' 'Height=450' 'Maximized=1'
[ "$(grep -c '^\[User\]' "$work/ini.txt")" -eq 1 ] || fail "[User] is in the file twice"

chmod a-w "$ini"  # read-only to wine, for root too
start
end_session
[ "$status" -eq 1 ] || fail "a failed save at the session's end exited with $status"
grep -q 'に書き込めません' "$work/app.log" || fail "the failed save is not on standard error"

start
message alt+F4 Return
ended "Alt+F4"
[ "$status" -eq 1 ] || fail "a failed save at closing exited with $status"
echo "life cycle under wine: UTF-16 file read, maximised, saved at the session's end; failed saves end with 1"
