#!/usr/bin/env bash
# Builds Velquist in build-release/ and makes its Debian package there; prints the
# package's path, ready for `sudo apt install ./velquist_*.deb`.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"

ensure_packages "${VELQUIST_BUILD_PACKAGES[@]}"
build_preset release
# CPack writes into the folder it is run from; the log goes aside so that the
# last line printed is the path alone.
(cd "$VELQUIST_RELEASE_BUILD" && cpack -G DEB) >"$VELQUIST_RELEASE_BUILD/cpack.log" 2>&1 || {
  cat "$VELQUIST_RELEASE_BUILD/cpack.log" >&2
  exit 1
}
# CPack names the file it wrote in a line "CPack: - package: PATH generated."
deb=$(sed -n 's/^CPack: - package: \(.*\.deb\) generated\.$/\1/p' "$VELQUIST_RELEASE_BUILD/cpack.log")
[ -n "$deb" ] && [ -f "$deb" ] || { echo "CPack wrote no .deb; see $VELQUIST_RELEASE_BUILD/cpack.log" >&2; exit 1; }
echo "$deb"
