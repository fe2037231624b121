#!/usr/bin/env bash
# validate.sh desktop|metainfo FILE
# Runs the freedesktop or the AppStream validator on FILE and fails on what it
# finds wrong.
# - desktop-file-validate: errors, warnings and hints alike, with one exception:
#   the menu categories Education;Math;Utility; name two main categories on
#   purpose (the program belongs with both the learning tools and the
#   accessories), which it always hints at.
# - appstreamcli: errors and warnings, the levels a software centre acts on.
#   Its info and pedantic notes are shown but do not fail, since they depend on
#   the validator's release: AppStream 0.16 (Debian 12) calls the <developer>
#   tag of the current format unknown, where 1.0 (Debian 13) would call the
#   older <developer_name> deprecated.
set -uo pipefail
kind=$1 file=$2

case $kind in
  desktop) tool=desktop-file-validate package=desktop-file-utils
           args=("$file") findings=': (error|warning|hint):'
           accepted='"Education;Math;Utility;" .* contains more than one main category' ;;
  metainfo) tool=appstreamcli package=appstream
            args=(validate --no-net --pedantic "$file") findings='^[EW]:'
            accepted='^$' ;;
  *) echo "unknown kind: $kind" >&2; exit 2 ;;
esac
command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing; install the Debian package $package" >&2; exit 1; }

output=$("$tool" "${args[@]}" 2>&1)
status=$?
printf '%s\n' "$output"
if [ $status -ne 0 ] || grep -Ev "$accepted" <<<"$output" | grep -Eq "$findings"; then
  echo "FAIL: $tool found problems in $file (exit status $status)" >&2
  exit 1
fi
