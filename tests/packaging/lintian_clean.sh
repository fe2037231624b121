#!/usr/bin/env bash
# lintian_clean.sh CPACK_CONFIG SCRATCH VERSION CHANGELOG METAINFO
# Makes the Debian package with CPack into SCRATCH and fails on any error or
# warning lintian finds in it, then checks that it carries the project's
# version. Informational tags are printed but pass.
set -euo pipefail
config=$1 scratch=$2
here=$(cd "$(dirname "$0")" && pwd)
command -v lintian >/dev/null || { echo "FAIL: lintian is missing; install the Debian package lintian" >&2; exit 1; }
rm -rf "$scratch"
mkdir -p "$scratch"
if ! timeout 300 cpack --config "$config" -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1; then
  cat "$scratch/cpack.log" >&2
  echo "FAIL: cpack did not make the package" >&2
  exit 1
fi
deb=$(ls "$scratch"/out/velquist_*.deb)
# lintian says on stderr that it runs as root; that notice is no finding.
output=$(timeout 300 lintian --info --display-info "$deb" 2>"$scratch/lintian.err") || {
  cat "$scratch/lintian.err" >&2
  printf '%s\n' "$output"
  echo "FAIL: lintian failed on $deb" >&2
  exit 1
}
printf '%s\n' "$output"
if grep -Eq '^[EW]: ' <<<"$output"; then
  echo "FAIL: lintian found errors or warnings in $deb" >&2
  exit 1
fi
echo "lintian: no errors, no warnings in $(basename "$deb")"
"$here/check_versions.sh" "$3" "$4" "$5" "$deb"
