#!/usr/bin/env bash
# Installs what is missing, builds Velquist in build-release/ and starts it. Without a
# display it runs it on a virtual X server instead and saves what it shows.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"
source "$(dirname "$0")/lib/display.sh"

ensure_packages "${VELQUIST_BUILD_PACKAGES[@]}" "${VELQUIST_DISPLAY_PACKAGES[@]}"
build_preset release
program="$VELQUIST_RELEASE_BUILD/app/velquist"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$program"
fi

picture="$VELQUIST_RELEASE_BUILD/velquist-xvfb.png"
trap stop_xvfb EXIT
start_xvfb
"$program" &
pid=$!
window=$(wait_for_window "$VELQUIST_MAIN_TITLE")
import -window "$window" "$picture"
# Esc closes the window, and with it the program, as it would for a user.
press_in_window "$window" Escape
code=0
wait "$pid" || code=$?
echo
echo "There is no display here, so Velquist ran on a virtual X server (Xvfb)."
echo "Its main window is saved as: $picture"
echo "It ended with exit code $code after Esc closed the window."
echo "To use it, run scripts/run.sh in a desktop session, or set DISPLAY to an"
echo "X server you can see (for example through 'ssh -X')."
