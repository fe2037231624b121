#!/usr/bin/env bash
# Installs what is missing, builds Velquist and runs every test.
#   scripts/test.sh              the development build in build/
#   scripts/test.sh --sanitize   everything under AddressSanitizer and
#                                UndefinedBehaviorSanitizer in build-asan/
#   scripts/test.sh --fuzz [S]   a short run of each fuzz target (S seconds
#                                each, default 5) in build-fuzz/
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"

case "${1:-}" in
  "")
    ensure_packages "${VELQUIST_BUILD_PACKAGES[@]}" "${VELQUIST_DISPLAY_PACKAGES[@]}" \
      "${VELQUIST_DESKTOP_TEST_PACKAGES[@]}"
    build_preset dev
    # The preset has the window tests draw offscreen: they need no display.
    # The desktop tests (label "desktop") start Xvfb and their buses each.
    (cd "$VELQUIST_ROOT" && ctest --preset dev -j "$VELQUIST_JOBS")
    ;;
  --sanitize)
    ensure_packages "${VELQUIST_BUILD_PACKAGES[@]}" "${VELQUIST_DISPLAY_PACKAGES[@]}" \
      "${VELQUIST_DESKTOP_TEST_PACKAGES[@]}"
    build_preset asan
    # The preset sets the offscreen platform, the sanitizer options and the
    # leak suppressions for Qt's and fontconfig's own caches. The desktop
    # tests run here too, on the sanitized program (about two minutes more):
    # a real X server and AT-SPI reach code the offscreen tests never do.
    (cd "$VELQUIST_ROOT" && ctest --preset asan -j "$VELQUIST_JOBS")
    ;;
  --fuzz)
    bash "$VELQUIST_ROOT/scripts/fuzz.sh" "${2:-5}"
    ;;
  *)
    echo "usage: $0 [--sanitize | --fuzz [SECONDS]]" >&2
    exit 2
    ;;
esac
