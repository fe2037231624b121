#!/usr/bin/env bash
# Builds Velquist in build-release/ and makes its Debian package there; prints the
# package's path, ready for `sudo apt install ./velquist_*.deb`.
#   scripts/package.sh                    build the package
#   scripts/package.sh --check [RELEASE]  build it, then install it into a fresh
#                                         minimal Debian RELEASE (default: this
#                                         machine's) and check it there
#                                         (tests/packaging/clean_install.sh)
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"

check=
case "${1:-}" in
  "") ;;
  --check)
    # shellcheck disable=SC1091
    check=${2:-$(. /etc/os-release && echo "$VERSION_CODENAME")}
    ;;
  *)
    echo "usage: $0 [--check [RELEASE]]" >&2
    exit 2
    ;;
esac

ensure_packages "${VELQUIST_BUILD_PACKAGES[@]}"
[ -z "$check" ] || ensure_packages "${VELQUIST_CLEAN_INSTALL_PACKAGES[@]}"
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
[ -z "$check" ] || bash "$VELQUIST_ROOT/tests/packaging/clean_install.sh" "$deb" "$check"
