# Sourced by the tests that drive the program as a user does: on a private
# X server under openbox, keys by xdotool, the clipboard by xclip.
#
#   x_server FIRST LAST      starts Xvfb on a free display in FIRST..LAST
#                            and openbox, and exports DISPLAY
#   x_session CMAKE BUILD    installs into $work/prefix, then x_server;
#                            start_tavrin and close_tavrin run that copy
#   wine_session RUN         lets a wine program start on this display
#   wait_window PID TENTHS   sets window to the program's main window
#   message TRIGGER CLOSER.. TRIGGER (a key, or a mouse press) shows exactly
#                            one box; each CLOSER (a key, or "click" on its
#                            button) closes the one box showing; none follows
#   press KEYS               a step that shows no box
#   await_box                exactly one box shows: box is set to it
#
# The caller sets work (a fresh folder) and app_pid once the program runs.
# With x_activate=1 the main window is activated before each key (wine's
# windows take the focus only so); otherwise the window manager must give it.
# With x_crlf_free=1 carriage returns are ignored when the clipboard is
# compared (wine hands CR LF to X as LF).
x_cleanup() {
  # Each one waited for: a server still shutting down has given up its lock
  # file, and the next test's window manager could join it and die with it.
  local pid
  for pid in "${app_pid:-}" "${wm_pid:-}" "${xvfb_pid:-}"; do
    [ -n "$pid" ] || continue
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  rm -rf "$work"
}
fail() {
  echo "FAIL: $*"
  cat "$work/steps.log" "$work/app.log" 2>/dev/null || true
  if [ -n "${xvfb_pid:-}" ]; then
    echo "after ${SECONDS}s; active window: $(xdotool getactivewindow getwindowname 2>/dev/null || echo none)"
    kill -0 "${wm_pid:-0}" 2>/dev/null || { echo "the window manager has ended:"; cat "$work/wm.log"; }
    [ -n "${window:-}" ] && xwininfo -id "$window" -wm 2>/dev/null | grep -iE 'override|state' || true
    xdotool search --onlyvisible --name . 2>/dev/null | while read -r w; do
      echo "window $w: $(xdotool getwindowname "$w" 2>/dev/null) $(xdotool getwindowgeometry "$w" 2>/dev/null | tr -s '\n ' ' ')"
    done
    # TAVRIN_FAIL_SHOTS names a folder that keeps a picture of the screen.
    if [ -n "${TAVRIN_FAIL_SHOTS:-}" ]; then
      import -window root "$TAVRIN_FAIL_SHOTS/$(basename "$0" .sh)-$$.png" 2>/dev/null || true
    fi
  fi
  exit 1
}

x_server() {
  display=""
  for n in $(seq "$1" "$2"); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=":$n"; break; fi
  done
  [ -n "$display" ] || fail "no free display"
  # No access control, so that a test's ordinary user may connect; no reset
  # when the last client leaves (the probe below is one), which would refuse
  # the window manager connecting at that moment.
  Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp -ac -noreset >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  export DISPLAY=$display
  for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  kill -0 "$xvfb_pid" 2>/dev/null || { cat "$work/xvfb.log"; fail "Xvfb did not start on $display"; }
  openbox >"$work/wm.log" 2>&1 &
  wm_pid=$!
  echo "X server $display after ${SECONDS}s" >>"$work/steps.log"
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
  done
  # openbox announces itself before it manages new windows; a window mapped
  # in that gap is adopted like one from before its start, without the focus.
  sleep 1.5
}

x_session() {
  prefix=$work/prefix
  "$1" --install "$2" --prefix "$prefix" >/dev/null
  ini=$prefix/bin/tavrin.ini  # the prefix is writable: the portable settings file
  mkdir -p "$work/home"
  x_server 141 190
}

# wine_session RUN: wine's processes share one session per prefix, and its
# windows go to the display that session began on. Waits until an earlier
# session (the test stage's, another test's, an installer's) has ended, so
# that the next program begins one on this test's display.
wine_session() {
  timeout 60 "$1" wineserver -w || "$1" wineserver -k || true
  echo "wine session free after ${SECONDS}s" >>"$work/steps.log"
}

# wait_window PID TENTHS: the program's window, once it shows; the program
# must not end before.
wait_window() {
  window=""
  for _ in $(seq "$2"); do
    window=$(xdotool search --onlyvisible --name '^Tavrin$' 2>/dev/null | head -n 1 || true)
    if [ -n "$window" ]; then echo "window after ${SECONDS}s" >>"$work/steps.log"; return 0; fi
    kill -0 "$1" 2>/dev/null || fail "the program ended before its window showed"
    sleep 0.1
  done
  fail "the window did not appear"
}

# Starts the installed program and sets window once it shows, framed and settled.
start_tavrin() {
  env HOME="$work/home" QT_QPA_PLATFORM=xcb "$prefix/bin/tavrin" >"$work/app.log" 2>&1 &
  app_pid=$!
  wait_window "$app_pid" 100
  sleep 1.5
}

# start_wine_tavrin DIR: starts DIR/tavrin.exe under wine ($run, as
# wine_session was given) and sets window once it shows.
start_wine_tavrin() {
  (cd "$1" && exec "$run" ./tavrin.exe) >"$work/app.log" 2>&1 &
  app_pid=$!
  wait_window "$app_pid" 600  # the first start of wine in a session takes seconds
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

active_is() { [ "$(xdotool getactivewindow 2>/dev/null || true)" = "$1" ]; }
wait_active() { for _ in $(seq 50); do active_is "$1" && break; sleep 0.1; done; }

# Message boxes carry the application title, as the window does.
dialogs() { xdotool search --onlyvisible --name '^Tavrin$' 2>/dev/null | grep -vx "$window" || true; }
count() { dialogs | grep -c . || true; }

set_clipboard() { printf '%s' "$1" | xclip -selection clipboard -i; sleep 0.3; }
clipboard_bytes() {
  if [ "${x_crlf_free:-}" = 1 ]; then tr -d '\r'; else cat; fi | od -An -c | tr -s ' '
}
expect_clipboard() {
  local want got
  want=$(printf '%s' "$1" | clipboard_bytes)
  for _ in $(seq 50); do
    got=$(xclip -selection clipboard -o 2>/dev/null | clipboard_bytes || true)
    [ "$got" = "$want" ] && return 0
    sleep 0.1
  done
  echo "clipboard: expected $want"; echo "got $got"
  fail "clipboard after $step"
}
clipboard_has() { xclip -selection clipboard -o 2>/dev/null | grep -c -- "$1" || true; }

focus_window() {
  if [ "${x_activate:-}" = 1 ]; then xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true; fi
  wait_active "$window"
}

press() {
  step="$*"
  focus_window
  xdotool key "$@"
  sleep 1
  [ "$(count)" -eq 0 ] || fail "$step showed a message box"
}

# The single button sits centred under the text, its centre 62 pixels above
# the form's bottom edge and 20 right of the form's centre.
click_button() {
  local WIDTH HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$1" | grep -E '^(WIDTH|HEIGHT)=')"
  xdotool mousemove --window "$1" $((WIDTH / 2 + 20)) $((HEIGHT - 62)) click 1
}

# trigger T: T is a key, or @X,Y,BUTTON[,ctrl] for a press of a mouse
# button at X,Y in the main window (Ctrl held with ",ctrl").
trigger() {
  case $1 in
    @*)
      local x y b mod
      IFS=, read -r x y b mod <<<"${1#@}"
      xdotool mousemove --window "$window" "$x" "$y"
      sleep 0.2
      if [ "$mod" = ctrl ]; then xdotool keydown ctrl click "$b" keyup ctrl; else xdotool click "$b"; fi
      ;;
    *) xdotool key "$1" ;;
  esac
}

# await_box: exactly one box shows; box is set to it, and it has the focus.
await_box() {
  for _ in $(seq 100); do [ "$(count)" -ge 1 ] && break; sleep 0.1; done
  sleep 0.5
  [ "$(count)" -eq 1 ] || fail "$step: $(count) message boxes instead of one"
  box=$(dialogs)
  if [ "${x_activate:-}" = 1 ]; then xdotool windowactivate --sync "$box" >/dev/null 2>&1 || true; fi
  wait_active "$box"
}

# close_box CLOSER: exactly one box shows; CLOSER (a key, or "click" on
# its button) closes it.
close_box() {
  local box
  await_box
  if [ "$1" = click ]; then
    click_button "$box"
  else
    xdotool key "$1"
    keyed=$((keyed + 1))
  fi
  for _ in $(seq 50); do dialogs | grep -qx "$box" || break; sleep 0.1; done
  closed=$((closed + 1))
}

# message TRIGGER CLOSER...: TRIGGER shows exactly one box, CLOSER closes
# it; each further CLOSER closes the one box that follows (the answer to a
# question); then none follows.
closers=(Return space Escape)
closed=0
keyed=0
message() {
  step="$1 closed with $2"
  focus_window
  trigger "$1"
  shift
  local closer
  for closer in "$@"; do close_box "$closer"; done
  sleep 1
  [ "$(count)" -eq 0 ] || fail "$step: another message box followed"
}
next_closer() { echo "${closers[$((keyed % 3))]}"; }

# Closes the window with Alt+F4 and waits for the program to end.
alt_f4() {
  step="Alt+F4"
  focus_window
  xdotool key alt+F4
  for _ in $(seq "${1:-100}"); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$app_pid" 2>/dev/null && fail "the window did not close"
  app_pid=""
}

# settings_have FILE LINE...: every LINE is a whole line of FILE (CR LF or LF).
settings_have() {
  local file=$1 line
  shift
  for line in "$@"; do
    grep -qxF "$line" <(tr -d '\r' <"$file") || fail "$file lacks: $line"
  done
}
