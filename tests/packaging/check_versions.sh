#!/usr/bin/env bash
# check_versions.sh VERSION CHANGELOG METAINFO [DEB]
# The project's version (CMake's project(VERSION)) is the one version: the
# changelog's top entry, the metainfo's latest release and, when given, the
# package must all carry it, or a release would go out under two numbers.
set -euo pipefail
version=$1 changelog=$2 metainfo=$3 deb=${4:-}
failed=0
agree() {
  if [ "$2" = "$version" ]; then
    echo "ok: $1 is $2"
  else
    echo "FAIL: $1 is '$2', the project's version is $version" >&2
    failed=1
  fi
}

# The top entry's first line: "velquist (VERSION) DISTRIBUTION; urgency=...".
agree "the changelog's top entry" "$(sed -n '1s/^velquist (\([^)]*\)) .*/\1/p' "$changelog")"
# AppStream lists releases newest first; the first <release> is the latest.
agree "the metainfo's latest release" \
  "$(grep -o '<release [^>]*version="[^"]*"' "$metainfo" | head -n1 | sed 's/.*version="\([^"]*\)".*/\1/')"
if [ -n "$deb" ]; then
  agree "the package's version" "$(dpkg-deb -f "$deb" Version)"
  # The changelog inside the package is the one in the sources, gzipped.
  agree "the packaged changelog's top entry" \
    "$(dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/doc/velquist/changelog.gz | gzip -dc \
       | sed -n '1s/^velquist (\([^)]*\)) .*/\1/p')"
fi
exit $failed
