#!/usr/bin/env bash
# The installed program, as a user gets it: this build's installer run
# silently under wine (Japanese locale, a private X server with openbox)
# installs per user into %LOCALAPPDATA%\Programs\Tavrin; the installed
# tavrin.exe starts, shows its window and counts the clipboard's lines, and
# on closing keeps its settings in %APPDATA%\Tavrin, writing nothing beside
# itself (a user's program folder is no place for them) nor into the folder
# it was started from.
# Usage: win_installed_start_test.sh CPACK BUILD_DIR WINE_RUN
set -euo pipefail
cpack=$1
build=$2
run=$3
work=$(mktemp -d)
. "$(dirname "$0")/../app/x_session.sh"
x_activate=1 x_crlf_free=1

win() { "$run" "$@" | tr -d '\r'; }
installed="" settings=""
cleanup() {
  if [ -n "${app_pid:-}" ]; then kill "$app_pid" 2>/dev/null || true; fi
  app_pid=""
  # Nothing stays for the package test, which installs into the same prefix.
  if [ -n "$installed" ]; then
    wine_session "$run"
    "$run" "$installed/uninstall.exe" /S "_?=$local_appdata\\Programs\\Tavrin" >/dev/null 2>&1 || true
    rm -rf "$installed" "$settings"
  fi
  x_cleanup
}
trap cleanup EXIT

"$cpack" --config "$build/CPackConfig.cmake" -G NSIS -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack failed"; }
setup=$(find "$work/out" -maxdepth 1 -name 'tavrin-*-setup.exe' | head -n 1)
[ -n "$setup" ] || fail "cpack made no installer"

local_appdata=$(win cmd /c echo %LOCALAPPDATA%)
installed=$(win winepath -u "$local_appdata\\Programs\\Tavrin")
settings=$(win winepath -u "$(win cmd /c echo %APPDATA%)\\Tavrin")
[ -n "$installed" ] && [ -n "$settings" ] || fail "wine named no folders for the installed copy"
# What an earlier run left goes first, so that the files checked are this run's.
rm -rf "$installed" "$settings"
"$run" "$setup" /S >"$work/setup.log" 2>&1 || { cat "$work/setup.log"; fail "the installer failed"; }
[ -f "$installed/tavrin.exe" ] || fail "the installer left no tavrin.exe in $installed"
files=$(ls -A "$installed")

x_server 141 190
wine_session "$run"
mkdir "$work/started-from"
(cd "$work/started-from" && exec "$run" "$installed/tavrin.exe") >"$work/app.log" 2>&1 &
app_pid=$!
wait_window "$app_pid" 1200  # wine's first start in a session takes seconds, more on a busy machine
focus_window
sleep 0.5

set_clipboard $'b\na\nb\n'
press F6
message F7 Return
expect_clipboard $'a\t1\r\nb\t2\r\n'
alt_f4 300

ini=$settings/tavrin.ini
[ -f "$ini" ] || fail "the installed copy left no settings file in $settings"
settings_have "$ini" '[User]' 'FCopyCount=1' '[Form]' 'Maximized=0'
[ "$(ls -A "$installed")" = "$files" ] ||
  fail "the installed copy wrote beside itself: $(ls -A "$installed" | tr '\n' ' ')"
[ -z "$(ls -A "$work/started-from")" ] ||
  fail "the installed copy wrote into the folder it was started from: $(ls -A "$work/started-from")"
echo "installed copy under wine: installed, started, counted, closed; settings in %APPDATA%\\Tavrin"
