# A private virtual X server for the scripts that show the program without a
# display, and the few steps they take on it.
# shellcheck shell=bash

# start_xvfb [WIDTHxHEIGHT]: starts Xvfb on a free display (1024x768 unless
# told, 24 bits) and points DISPLAY at it; stop_xvfb ends it.
start_xvfb() {
  local n size=${1:-1024x768}
  for n in $(seq 90 150); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || break
  done
  Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
  VELQUIST_XVFB_PID=$!
  export DISPLAY=":$n"
  local i
  for i in $(seq 100); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "Xvfb did not start on $DISPLAY" >&2
  return 1
}

stop_xvfb() {
  [ -n "${VELQUIST_XVFB_PID:-}" ] || return 0
  kill "$VELQUIST_XVFB_PID" 2>/dev/null || true
  wait "$VELQUIST_XVFB_PID" 2>/dev/null || true
  VELQUIST_XVFB_PID=
}

# wait_for_window TITLE: prints the id of the visible window with exactly
# that title once it is there (up to 20 s), and waits for it to be drawn.
wait_for_window() {
  local i id
  for i in $(seq 200); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
    if [ -n "$id" ]; then
      sleep 0.5
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  echo "no window \"$1\" appeared" >&2
  return 1
}

# press_in_window ID KEY...: gives the window the keyboard focus and presses
# the keys, through the XTEST extension as a real keyboard would.
press_in_window() {
  local id=$1; shift
  xdotool windowfocus --sync "$id" key "$@"
}

# open_help_item ID N: opens the main window's menu "帮助" with a click on it
# and chooses its N-th item from the keyboard.
open_help_item() {
  local id=$1 n=$2 keys=()
  xdotool mousemove --window "$id" 20 10 click 1
  sleep 0.5
  for _ in $(seq "$n"); do keys+=(Down); done
  xdotool key "${keys[@]}" Return
}

VELQUIST_MAIN_TITLE="Velquist（双击窗口空白处查看运算公式）"
