#!/usr/bin/env bash
# Installs what is missing, builds Velquist in build/ and runs every test.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"

ensure_packages "${VELQUIST_BUILD_PACKAGES[@]}" "${VELQUIST_DISPLAY_PACKAGES[@]}"
configure_and_build "$VELQUIST_BUILD"
# The window tests need no display: Qt draws offscreen.
QT_QPA_PLATFORM=offscreen ctest --test-dir "$VELQUIST_BUILD" --output-on-failure -j "$VELQUIST_JOBS"
