#!/usr/bin/env bash
# check_package.sh CPACK_CONFIG SCRATCH
# Makes the Debian package of a built tree with CPack, unpacks it with dpkg -x
# into SCRATCH/root and checks what a desktop relies on: the fields apt reads,
# every file where the menu, the icon theme and the software centres look for
# it, and that the unpacked program starts and keeps its window open.
# Every step is bounded in time; SCRATCH is emptied first.
set -euo pipefail
config=$1 scratch=$2

fail() { echo "FAIL: $*" >&2; exit 1; }
rm -rf "$scratch"
mkdir -p "$scratch"

if ! timeout 300 cpack --config "$config" -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1; then
  cat "$scratch/cpack.log" >&2
  fail "cpack did not make the package"
fi
shopt -s nullglob
debs=("$scratch"/out/velquist_*.deb)
shopt -u nullglob
[ ${#debs[@]} -eq 1 ] || fail "expected one velquist_*.deb in $scratch/out, found ${#debs[@]}"
deb=${debs[0]}
echo "== $deb"
dpkg-deb -c "$deb"

echo "== control fields"
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = velquist ] || fail "package name is '$(field Package)'"
[ "$(field Section)" = math ] || fail "section is '$(field Section)'"
[[ $(field Maintainer) == "Velquist authors <"*"@example.com>" ]] || fail "maintainer is '$(field Maintainer)'"
depends=$(field Depends)
echo "Depends: $depends"

echo "== unpacked files"
# Everything lives under /usr, in the folders of the program, the menu, the
# icon theme, AppStream, the manual and the package's documentation; anything
# else is a stray install rule.
stray=$(dpkg-deb -c "$deb" | awk '{print $NF}' | grep -v '/$' \
  | grep -Ev '^\./usr/(bin/velquist|share/(applications/velquist\.desktop|metainfo/org\.example\.velquist\.metainfo\.xml|icons/hicolor/[^/]+/apps/velquist\.(png|svg)))$' \
  | grep -Ev '^\./usr/share/(man/man1/velquist\.1\.gz|doc/velquist/(copyright|changelog\.gz))$' || true)
[ -z "$stray" ] || fail "files outside the expected places: $stray"

root="$scratch/root"
dpkg -x "$deb" "$root"
share="$root/usr/share"
desktop="$share/applications/velquist.desktop"
metainfo="$share/metainfo/org.example.velquist.metainfo.xml"
[ -f "$desktop" ] || fail "no desktop entry at ${desktop#"$root"}"
[ -f "$metainfo" ] || fail "no metainfo at ${metainfo#"$root"}"

# The entry's Exec and Icon, and the metainfo's launchable, must name what
# the package holds, or the menu shows an entry that cannot start or has no icon.
exec_name=$(sed -n 's/^Exec=//p' "$desktop")
icon_name=$(sed -n 's/^Icon=//p' "$desktop")
launchable=$(sed -n 's|.*<launchable type="desktop-id">\(.*\)</launchable>.*|\1|p' "$metainfo")
program="$root/usr/bin/$exec_name"
[ -x "$program" ] && file -b "$program" | grep -q '^ELF' || fail "Exec=$exec_name is no program in /usr/bin"
[ "$launchable" = "$(basename "$desktop")" ] || fail "metainfo launches '$launchable', the entry is $(basename "$desktop")"
svg="$share/icons/hicolor/scalable/apps/$icon_name.svg"
file -b "$svg" | grep -q 'SVG' || fail "Icon=$icon_name has no scalable SVG"
for side in 16 32 48 64 128 256; do
  png="$share/icons/hicolor/${side}x${side}/apps/$icon_name.png"
  file -b "$png" | grep -q "^PNG image data, $side x $side," \
    || fail "no ${side} px PNG at ${png#"$root"}: $(file -b "$png")"
done
echo "program, desktop entry, metainfo and icons are in place"

echo "== dependencies"
# Every shared library the program links must come with a package that
# Depends names, as dpkg-shlibdeps finds them; a package without them would
# install and then fail to start. Qt's packages need a version floor as well,
# since the program needs the Qt it was built with or newer (others, such as
# libglx0 in the sanitizer build, declare none). The packages are looked up
# here rather than named, since releases name them differently (Debian 13's
# 64-bit time_t transition renamed libqt6core6 to libqt6core6t64).
# owner PATH: the installed package that holds the library file PATH, under
# whichever of the merged /usr spellings dpkg recorded it.
owner() {
  local real candidate
  real=$(realpath "$1")
  for candidate in "$1" "$real" "${real#/usr}" "/usr${1#/usr}"; do
    dpkg-query -S "$candidate" 2>/dev/null | sed -n '1s/^\([^:,]*\).*/\1/p' | grep . && return 0
  done
  return 1
}
# The libraries the program itself names (not theirs), where the loader finds them.
needed=$(objdump -p "$program" | awk '$1 == "NEEDED" { print $2 }')
libraries=$(ldd "$program" | awk 'NR == FNR { needed[$1] = 1; next }
  $2 == "=>" && ($1 in needed) { print $1, $3 }' <(echo "$needed") -)
[ "$(wc -l <<<"$libraries")" -eq "$(wc -l <<<"$needed")" ] \
  || fail "the loader does not find every library the program needs: $(ldd "$program")"
for lib in libQt6Core.so.6 libQt6Widgets.so.6; do
  grep -q "^$lib " <<<"$libraries" || fail "the program does not link $lib: $libraries"
done
while read -r soname path; do
  pkg=$(owner "$path") || fail "$soname ($path) comes from no installed package"
  if [[ $soname == libQt6* ]]; then
    pattern=' \(>= [^)]+\)' need="$pkg with a version"
  else
    pattern='( \(>= [^)]+\))?' need=$pkg
  fi
  grep -Eq "(^|, )${pkg//+/\\+}$pattern(,|$)" <<<"$depends" || fail "Depends lacks $need (for $soname): $depends"
  echo "$soname: $pkg"
done <<<"$libraries"

# Whatever this script started ends with it, however it ends.
started=()
trap 'for p in "${started[@]}"; do kill -KILL "$p" 2>/dev/null || true; done' EXIT

# wait_for SECONDS PID TEST...: polls TEST every tenth of a second while PID
# runs; fails with the log once PID has ended or the time is up.
wait_for() {
  local tenths=$(($1 * 10)) pid=$2
  shift 2
  for ((i = 0; i < tenths; i++)); do
    kill -0 "$pid" 2>/dev/null || { cat "$log" >&2; fail "the program ended before: $*"; }
    "$@" && return 0
    sleep 0.1
  done
  cat "$log" >&2
  fail "not within the time allowed: $*"
}
flushed_a_window() { grep -q 'qt.widgets.painting: Flushing QRegion(' "$log"; }

echo "== the unpacked program on the offscreen platform"
log="$scratch/offscreen.log"
# The painting log says when a top-level window's pixels reach the screen,
# which on the offscreen platform is the only outward sign of a shown window.
QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES='qt.widgets.painting=true' \
  "$program" >"$log" 2>&1 &
started+=($!)
wait_for 10 $! flushed_a_window
# It takes no arguments and runs until its last window closes: still running
# two seconds on, it has entered its message loop rather than failed at start.
sleep 2
kill -0 "${started[-1]}" 2>/dev/null || { cat "$log" >&2; fail "the program ended after showing its window"; }
echo "painted its window and kept running"

# On X the window itself can be looked at: mapped, with the program's class,
# and carrying the icon in the sizes window lists and title bars use.
if ! command -v Xvfb xwininfo xprop >/dev/null; then
  echo "skipped the X11 window check: Xvfb, xwininfo or xprop is not installed (xvfb, x11-utils)"
  exit 0
fi
echo "== the unpacked program on Xvfb"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$scratch/display" 2>"$scratch/xvfb.log" &
started+=($!)
log="$scratch/xvfb.log"
display_ready() { [ -s "$scratch/display" ]; }
wait_for 10 "${started[-1]}" display_ready
export DISPLAY=":$(head -n1 "$scratch/display")"

log="$scratch/xcb.log"
QT_QPA_PLATFORM=xcb "$program" >"$log" 2>&1 &
started+=($!)
window_with_icon() {
  local id
  for id in $(xwininfo -root -children | sed -n 's/^ *\(0x[0-9a-f]*\) .*("velquist" .*/\1/p'); do
    xwininfo -id "$id" | grep -q 'Map State: IsViewable' || continue
    xprop -id "$id" _NET_WM_ICON | grep -q 'Icon (16 x 16)' || continue
    xprop -id "$id" _NET_WM_ICON | grep -q 'Icon (32 x 32)' && return 0
  done
  return 1
}
wait_for 10 "${started[-1]}" window_with_icon
echo "its window is mapped on $DISPLAY and carries the 16 and 32 px icons"
