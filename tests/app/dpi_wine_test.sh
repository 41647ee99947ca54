#!/usr/bin/env bash
# The settings file reads the same on any screen: tavrin.exe started and
# closed at 144 dpi writes the [Form] section and column widths it writes
# at 96 dpi, and keeps sizes it read from the file. Wine takes its density
# from LogPixels under HKCU\Control Panel\Desktop, read by each new
# program; the test puts back what it found there as soon as the program
# has started.
# Usage: dpi_wine_test.sh WINE_RUN TAVRIN_EXE
set -euo pipefail
run=$1
exe=$2
work=$(mktemp -d)
. "$(dirname "$0")/x_session.sh"
key='HKCU\Control Panel\Desktop'
set_dpi() { "$run" reg add "$key" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1; }
found=$("$run" reg query "$key" /v LogPixels 2>/dev/null | tr -d '\r' | awk '$1 == "LogPixels" {print $3}' || true)
restore_dpi() {
  if [ -n "$found" ]; then
    set_dpi "$((found))" || true
  else
    "$run" reg delete "$key" /v LogPixels /f >/dev/null 2>&1 || true
  fi
}
cleanup() {
  [ -n "${app_pid:-}" ] && kill "$app_pid" 2>/dev/null || true
  app_pid=""
  restore_dpi
  x_cleanup
}
trap cleanup EXIT
x_server 191 230  # apart from the other end-to-end tests, which may run beside it in other builds
wine_session "$run"  # the session of the registry query above ends first

# Starts the copy in folder $1 at $2 dpi, notes its client width in
# `width`, closes it with Alt+F4 and waits until it has ended with 0.
start_and_close() {
  set_dpi "$2" || fail "wine's registry refused LogPixels"
  start_wine_tavrin "$1"
  # The program has read the density: the prefix's own comes back at once,
  # so a test killed from here on leaves the others theirs.
  restore_dpi
  sleep 0.5
  width=$(xdotool getwindowgeometry --shell "$window" | sed -n 's/^WIDTH=//p')
  close_tavrin
}
# The lines of the file that must not depend on the density.
sizes() { tr -d '\r' <"$1/tavrin.ini" | awk '/^\[/ { form = $0 == "[Form]" } form || /^FSetLvColumn/'; }

for dpi in 96 144; do
  mkdir "$work/$dpi"
  cp "$exe" "$work/$dpi/tavrin.exe"
  start_and_close "$work/$dpi" "$dpi"
  eval "width$dpi=$width"
done
# The density was applied: the window is half as wide again.
[ $((width144 * 10)) -ge $((width96 * 14)) ] || fail "the window is $width96 wide at 96 dpi, $width144 at 144"
[ "$(sizes "$work/144")" = "$(sizes "$work/96")" ] || {
  diff <(sizes "$work/96") <(sizes "$work/144") || true
  fail "[Form] and column widths differ between 96 and 144 dpi"
}

# Sizes the file holds come back as they were. They count the frame as the
# system makes it at 96 dpi: the design's form of 653 is a client of
# $width96 there, so a form of 601 a client of 601 - (653 - $width96) units.
sed -i 's/^Width=.*\r$/Width=601\r/; s/^Height=.*\r$/Height=401\r/; s/^FSetLvColumn0=.*\r$/FSetLvColumn0=301\r/' \
  "$work/144/tavrin.ini"
before=$(sizes "$work/144" | grep -v -e '^Left=' -e '^Top=')
start_and_close "$work/144" 144
client=$((601 - 653 + width96))
[ "$width" -eq $(((client * 144 + 48) / 96)) ] || fail "a client of $client is $width pixels wide at 144 dpi"
after=$(sizes "$work/144" | grep -v -e '^Left=' -e '^Top=')
[ "$after" = "$before" ] || {
  diff <(echo "$before") <(echo "$after") || true
  fail "a start at 144 dpi changed the sizes it read"
}
echo "96 and 144 dpi write the same sizes (client $width96 and $width144 pixels wide)"
