#!/usr/bin/env bash
# Pictures of the main window, the formula window and the About window, taken
# on a virtual X server, and of a message box under openbox, into
# docs/screenshots/ (or the folder given).
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"
source "$(dirname "$0")/lib/display.sh"

out=${1:-"$VELQUIST_ROOT/docs/screenshots"}
ensure_packages "${VELQUIST_BUILD_PACKAGES[@]}" "${VELQUIST_DISPLAY_PACKAGES[@]}"
build_preset release
mkdir -p "$out"

trap stop_xvfb EXIT
start_xvfb
"$VELQUIST_RELEASE_BUILD/app/velquist" &
pid=$!
main=$(wait_for_window "$VELQUIST_MAIN_TITLE")
import -window "$main" "$out/main-window.png"

# Each window is taken while it lies on top of the others.
open_help_item "$main" 1
formula=$(wait_for_window "运算公式")
import -window "$formula" "$out/formula-window.png"

open_help_item "$main" 2
about=$(wait_for_window "关于")
import -window "$about" "$out/about-window.png"

press_in_window "$about" Escape
sleep 0.3
press_in_window "$formula" Escape
sleep 0.3
press_in_window "$main" Escape
wait "$pid"
echo "Saved: $out/main-window.png $out/formula-window.png $out/about-window.png"
stop_xvfb

# A message box under a window manager (openbox), frame included, with its
# whole caption in the title bar.
start_xvfb
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
sleep 1
"$VELQUIST_RELEASE_BUILD/app/velquist" &
pid=$!
main=$(wait_for_window "$VELQUIST_MAIN_TITLE")
# The circle group's "计算" with its diameter box empty.
xdotool mousemove --window "$main" 184 72 click 1
box=$(wait_for_window "信息：")
import -frame -window "$box" "$out/message-box-openbox.png"
press_in_window "$box" Escape
sleep 0.3
press_in_window "$main" Escape
wait "$pid"
kill "$wm" 2>/dev/null || true
wait "$wm" 2>/dev/null || true
echo "Saved: $out/message-box-openbox.png"

# The skin's states and the balloon, each on a virtual X server of its own.
bash "$(dirname "$0")/skin_screenshots.sh" "$out"
