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
VELQUIST_BUILD_PACKAGES=(
  g++ cmake make pkg-config
  libgtest-dev libbenchmark-dev
  qt6-base-dev libgl-dev
)
# Building the package and checking it: the icon renderer (which the program's
# build needs too), dpkg-shlibdeps for the package's dependencies, and the
# freedesktop and AppStream validators; the tests run all of them.
VELQUIST_PACKAGING_PACKAGES=(
  librsvg2-bin dpkg-dev file desktop-file-utils appstream
)
VELQUIST_BUILD_PACKAGES+=("${VELQUIST_PACKAGING_PACKAGES[@]}")

# What starting the program and its GUI tests need besides; xdotool drives
# the menus for the screenshots of scripts/screenshot.sh.
VELQUIST_DISPLAY_PACKAGES=(
  xvfb xauth x11-utils imagemagick fonts-wqy-microhei xdotool
)
# The fuzz targets (scripts/fuzz.sh) need Clang with its libFuzzer runtime.
# Both are the release's default Clang (14 on Debian 12, 19 on Debian 13):
# libclang-rt-dev brings the runtime of whichever clang is the default.
VELQUIST_FUZZ_PACKAGES=(
  clang libclang-rt-dev
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
