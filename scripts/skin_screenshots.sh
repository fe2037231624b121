#!/usr/bin/env bash
# Pictures of the control skin on a virtual X server: a hovered, a pressed and
# a focused button, the selected radio button and the diameter box's balloon,
# into docs/screenshots/ (or the folder given). scripts/screenshot.sh calls it.
#   scripts/skin_screenshots.sh [OUTPUT_FOLDER] [BUILD_FOLDER]
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"
source "$(dirname "$0")/lib/display.sh"

out=${1:-"$VELQUIST_ROOT/docs/screenshots"}
build=${2:-"$VELQUIST_BUILD"}
ensure_packages "${VELQUIST_BUILD_PACKAGES[@]}" "${VELQUIST_DISPLAY_PACKAGES[@]}"
cmake -S "$VELQUIST_ROOT" -B "$build" -DVELQUIST_BUILD_TESTS=ON >/dev/null
cmake --build "$build" --target skin_pictures -j "$VELQUIST_JOBS"
mkdir -p "$out"

trap stop_xvfb EXIT
start_xvfb
QT_QPA_PLATFORM=xcb "$build/tests/app/skin_pictures" "$out"
echo "Saved: $out/skin-button-hover.png $out/skin-button-pressed.png" \
     "$out/skin-button-focused.png $out/skin-radio-selected.png $out/skin-balloon.png"
