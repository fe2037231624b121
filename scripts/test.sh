#!/usr/bin/env bash
# Installs what is missing, builds Velquist and runs every test.
#   scripts/test.sh              the normal build in build/
#   scripts/test.sh --sanitize   everything under AddressSanitizer and
#                                UndefinedBehaviorSanitizer in build-asan/
#   scripts/test.sh --fuzz [S]   a short run of each fuzz target (S seconds
#                                each, default 5) in build-fuzz/
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"

case "${1:-}" in
  "")
    ensure_packages "${VELQUIST_BUILD_PACKAGES[@]}" "${VELQUIST_DISPLAY_PACKAGES[@]}"
    # run.sh and screenshot.sh leave tests off in the cache; turn them back on.
    configure_and_build "$VELQUIST_BUILD" -DVELQUIST_BUILD_TESTS=ON -DVELQUIST_BUILD_TOOLS=ON
    # The window tests need no display: Qt draws offscreen.
    QT_QPA_PLATFORM=offscreen ctest --test-dir "$VELQUIST_BUILD" --output-on-failure -j "$VELQUIST_JOBS"
    ;;
  --sanitize)
    ensure_packages "${VELQUIST_BUILD_PACKAGES[@]}" "${VELQUIST_DISPLAY_PACKAGES[@]}"
    cd "$VELQUIST_ROOT"
    cmake --preset asan
    cmake --build --preset asan -j "$VELQUIST_JOBS"
    # The preset sets the offscreen platform, the sanitizer options and the
    # leak suppressions for Qt's and fontconfig's own caches.
    ctest --preset asan -j "$VELQUIST_JOBS"
    ;;
  --fuzz)
    bash "$VELQUIST_ROOT/scripts/fuzz.sh" "${2:-5}"
    ;;
  *)
    echo "usage: $0 [--sanitize | --fuzz [SECONDS]]" >&2
    exit 2
    ;;
esac
