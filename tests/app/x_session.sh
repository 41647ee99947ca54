# Sourced by the tests that run the installed program on a private X server
# under openbox: installs into $work/prefix, starts the server and the
# window manager, and offers start_tavrin and close_tavrin. The caller sets
# work (a fresh folder) and calls x_session CMAKE BUILD_DIR.
x_cleanup() {
  [ -n "${app_pid:-}" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "${wm_pid:-}" ] && kill "$wm_pid" 2>/dev/null || true
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
fail() { echo "FAIL: $*"; cat "$work/app.log" 2>/dev/null || true; exit 1; }

x_session() {
  prefix=$work/prefix
  "$1" --install "$2" --prefix "$prefix" >/dev/null
  ini=$prefix/bin/tavrin.ini  # the prefix is writable: the portable settings file
  mkdir -p "$work/home"
  display=""
  for n in $(seq 141 190); do
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
  sleep 1.5  # openbox manages new windows a moment after it announces itself
}

# Starts the program and sets window once it shows, framed and settled.
start_tavrin() {
  env HOME="$work/home" QT_QPA_PLATFORM=xcb "$prefix/bin/tavrin" >"$work/app.log" 2>&1 &
  app_pid=$!
  window=""
  for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name '^Tavrin$' 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || fail "no window"
  sleep 1.5
}

# Closes it through the window manager (Alt+F4); it must exit with 0.
close_tavrin() {
  for _ in 1 2 3; do
    # A click on the status bar's label gives the focus where activation
    # may be refused.
    xdotool windowactivate --sync "$window" 2>/dev/null ||
      xdotool mousemove --window "$window" 20 "$(xdotool getwindowgeometry --shell "$window" |
        sed -n 's/^HEIGHT=//p' | awk '{print $1 - 12}')" click 1
    sleep 0.2
    xdotool key alt+F4
    for _ in $(seq 30); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$app_pid" 2>/dev/null || break
  done
  kill -0 "$app_pid" 2>/dev/null && fail "the window did not close"
  wait "$app_pid" || fail "exit status $?"
  app_pid=""
}
