#!/usr/bin/env bash
# Ended by SIGTERM while its settings file cannot be written, the program
# shows no box (nobody would answer it): it names the failed save on
# standard error and exits with a failure. With a writable file it saves
# and exits with 0.
# Usage: signal_close_test.sh CMAKE BUILD_DIR
set -euo pipefail
work=$(mktemp -d)
. "$(dirname "$0")/x_session.sh"
trap x_cleanup EXIT
x_session "$1" "$2"

terminate() {
  kill -TERM "$app_pid"
  status=0
  for _ in $(seq 50); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$app_pid" 2>/dev/null; then
    xdotool search --onlyvisible --name '^Tavrin' 2>/dev/null | while read -r w; do xwininfo -id "$w" | head -2; done
    kill -9 "$app_pid"
    fail "still running after SIGTERM (a box waits?)"
  fi
  wait "$app_pid" || status=$?
  app_pid=""
}

start_tavrin
terminate
[ "$status" -eq 0 ] || fail "a saved close exited with $status"
grep -q 'FSound=' "$ini" || fail "nothing saved"

start_tavrin
rm -f "$ini"
mkdir "$ini"  # no user can write a folder as a file
terminate
[ "$status" -ne 0 ] || fail "a failed save exited with 0"
grep -q 'に書き込めません' "$work/app.log" || fail "the failed save is not on standard error"
echo "SIGTERM: saved with 0, failed save told with $status"
