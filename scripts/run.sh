#!/usr/bin/env bash
# Installs what is missing, builds Velquist in build/ and starts it.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"

ensure_packages "${VELQUIST_BUILD_PACKAGES[@]}" "${VELQUIST_DISPLAY_PACKAGES[@]}"
configure_and_build "$VELQUIST_BUILD" -DVELQUIST_BUILD_TESTS=OFF -DVELQUIST_BUILD_TOOLS=OFF
echo "Built $VELQUIST_BUILD/app/velquist; the window program arrives with the next change."
