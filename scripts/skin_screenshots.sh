#!/usr/bin/env bash
# Pictures of the control skin on a virtual X server: a hovered, a pressed and
# a focused button, the selected radio button and the diameter box's balloon,
# into docs/screenshots/ (or the folder given). scripts/screenshot.sh calls it.
#   scripts/skin_screenshots.sh [OUTPUT_FOLDER]
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"
source "$(dirname "$0")/lib/display.sh"

out=${1:-"$VELQUIST_ROOT/docs/screenshots"}
ensure_packages "${VELQUIST_BUILD_PACKAGES[@]}" "${VELQUIST_DISPLAY_PACKAGES[@]}"
build_preset dev skin_pictures
mkdir -p "$out"

trap stop_xvfb EXIT
start_xvfb
QT_QPA_PLATFORM=xcb "$VELQUIST_BUILD/tests/app/skin_pictures" "$out"
echo "Saved: $out/skin-button-hover.png $out/skin-button-pressed.png" \
     "$out/skin-button-focused.png $out/skin-radio-selected.png $out/skin-balloon.png"
