#!/usr/bin/env bash
# Pictures of the main window, the formula window and the About window, taken
# on a virtual X server, and of a message box under openbox, into
# docs/screenshots/ (or the folder given); the main window also as GNOME
# starts it and at Qt's scale factor 2.
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
# main_window_picture FILE SCREEN [VAR=VALUE...]: the main window alone, on a
# virtual X server of SCREEN size of its own, started with those variables.
main_window_picture() {
  local file=$1 screen=$2; shift 2
  start_xvfb "$screen"
  env -u QT_QPA_PLATFORMTHEME -u QT_SCALE_FACTOR -u XDG_CURRENT_DESKTOP -u XDG_CONFIG_HOME \
    "$@" "$VELQUIST_RELEASE_BUILD/app/velquist" &
  local program=$!
  local window
  window=$(wait_for_window "$VELQUIST_MAIN_TITLE")
  import -window "$window" "$file"
  press_in_window "$window" Escape
  wait "$program"
  stop_xvfb
}

# As GNOME starts it: Qt takes the GTK platform theme, and with it the
# interface font of the GTK settings (Cantarell 11); beside it the plain
# session's at Qt's scale factor 2, which needs a larger screen.
gnome_home=$(mktemp -d)
trap 'stop_xvfb; rm -rf "$gnome_home"' EXIT
mkdir -p "$gnome_home/.config/gtk-3.0" "$gnome_home/plain"
printf '[Settings]\ngtk-font-name=Cantarell 11\n' >"$gnome_home/.config/gtk-3.0/settings.ini"
gnome=(HOME="$gnome_home" XDG_CURRENT_DESKTOP=GNOME DESKTOP_SESSION=gnome)
main_window_picture "$out/main-window-gnome.png" 1024x768 "${gnome[@]}"
main_window_picture "$out/main-window-scale-2.png" 1600x1300 HOME="$gnome_home/plain" QT_SCALE_FACTOR=2
main_window_picture "$out/main-window-gnome-scale-2.png" 1600x1300 "${gnome[@]}" QT_SCALE_FACTOR=2
echo "Saved: $out/main-window-gnome.png $out/main-window-scale-2.png $out/main-window-gnome-scale-2.png"

# The skin's states and the balloon, each on a virtual X server of its own.
bash "$(dirname "$0")/skin_screenshots.sh" "$out"
