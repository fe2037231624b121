# Shared by the scripts: where things are, and installing what is missing.
# shellcheck shell=bash

VELQUIST_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
# Each purpose has its own CMake preset and build folder (CMakePresets.json),
# so no script reconfigures another's build: dev (build/: program, tests and
# tools), release (build-release/: the program as it is run and packaged),
# asan (build-asan/) and fuzz (build-fuzz/).
VELQUIST_BUILD="$VELQUIST_ROOT/build"
VELQUIST_RELEASE_BUILD="$VELQUIST_ROOT/build-release"
VELQUIST_JOBS=$(nproc 2>/dev/null || echo 2)

# Debian packages every build needs: the compiler is assumed, the rest is ours.
# GMP is for the exact reference of the tests, verifiers and fuzzers only.
# tools/startup_time talks to the X server itself, DAMAGE extension included.
VELQUIST_BUILD_PACKAGES=(
  g++ cmake make pkg-config
  libgtest-dev libbenchmark-dev
  qt6-base-dev libgl-dev
  libgmp-dev
  libxcb1-dev libxcb-damage0-dev
)
# Building the package and checking it: the icon renderer (which the program's
# build needs too), dpkg-shlibdeps for the package's dependencies, and the
# freedesktop and AppStream validators and lintian; the tests run all of them.
VELQUIST_PACKAGING_PACKAGES=(
  librsvg2-bin dpkg-dev file desktop-file-utils appstream lintian
)
VELQUIST_BUILD_PACKAGES+=("${VELQUIST_PACKAGING_PACKAGES[@]}")
# Qt's own words (the OK button, the edit boxes' menu) in Chinese: the program
# loads Qt's catalogue qtbase_zh_CN when it is there, and its test checks it.
VELQUIST_BUILD_PACKAGES+=(qt6-translations-l10n)

# What starting the program and its GUI tests need besides; xdotool drives
# the menus for the screenshots of scripts/screenshot.sh. The window tests
# lay the windows out under the interface fonts of GNOME (Cantarell, through
# Qt's GTK platform theme) and of other desktops (DejaVu Sans, WenQuanYi).
VELQUIST_DISPLAY_PACKAGES=(
  xvfb xauth x11-utils imagemagick fonts-wqy-microhei xdotool
  fonts-dejavu-core fonts-cantarell qt6-gtk-platformtheme
)
# The desktop tests (tests/desktop/) run the program on Xvfb with a private
# D-Bus session and AT-SPI bus, press keys through XTEST with xdotool and read
# the window back with Debian's Python and its pyatspi.
VELQUIST_DESKTOP_TEST_PACKAGES=(
  python3 python3-pyatspi at-spi2-core dbus xvfb xdotool x11-utils
)
# The windows under a window manager (openbox: the desktop tests and the
# screenshots) and on Wayland (Weston with Qt's wayland platform).
VELQUIST_DISPLAY_PACKAGES+=(openbox)
VELQUIST_DESKTOP_TEST_PACKAGES+=(weston qt6-wayland)
# The fuzz targets (scripts/fuzz.sh) need Clang with its libFuzzer runtime.
# Both are the release's default Clang (14 on Debian 12, 19 on Debian 13):
# libclang-rt-dev brings the runtime of whichever clang is the default.
VELQUIST_FUZZ_PACKAGES=(
  clang libclang-rt-dev
)
# The clean-install check (scripts/package.sh --check): the minimal chroot,
# piuparts, and the X server and tools that look at the program from outside
# the chroot.
VELQUIST_CLEAN_INSTALL_PACKAGES=(
  debootstrap piuparts xvfb x11-utils imagemagick python3
)

# ensure_packages PKG...: installs those not yet installed. As root that is one
# apt-get update and one apt-get install; otherwise it prints the exact command
# and stops, since nothing else can succeed without them.
ensure_packages() {
  local missing=() pkg
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' \
      || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Velquist needs these Debian packages; install them, then run this again:" >&2
    echo "  sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
  echo "Installing: ${missing[*]}"
  if [ -z "${VELQUIST_APT_UPDATED:-}" ]; then
    DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 update -qq
    export VELQUIST_APT_UPDATED=1
  fi
  DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends "${missing[@]}"
}

# build_preset PRESET [TARGET...]: configures and builds that preset's folder.
build_preset() {
  local preset=$1; shift
  (cd "$VELQUIST_ROOT" && cmake --preset "$preset" >/dev/null)
  if [ $# -gt 0 ]; then
    (cd "$VELQUIST_ROOT" && cmake --build --preset "$preset" -j "$VELQUIST_JOBS" --target "$@")
  else
    (cd "$VELQUIST_ROOT" && cmake --build --preset "$preset" -j "$VELQUIST_JOBS")
  fi
}
