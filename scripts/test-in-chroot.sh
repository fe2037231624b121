#!/usr/bin/env bash
# Runs scripts/test.sh in a fresh minimal chroot of another Debian release, as
# a new user of that release would: from a base made with debootstrap (cached
# in /var/cache/velquist/), test.sh installs what it needs with apt-get, builds
# and runs every test. Then it builds the package there with scripts/package.sh
# and checks that it installs on that release.
#   scripts/test-in-chroot.sh [RELEASE [TEST.SH ARGUMENTS...]]   (default: trixie)
# The checkout is copied in as it is, uncommitted changes included, without
# its build folders. When this machine's Debian archive cannot be reached it
# says so and skips (exit status 0); any other failure fails. Needs root.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"
source "$(dirname "$0")/lib/chroot.sh"

release=${1:-trixie}
shift || true

if [ "$(id -u)" -ne 0 ]; then
  echo "$0 makes and enters a chroot, which needs root; run it as root (sudo)." >&2
  exit 1
fi

mirror=$(debian_mirror)
reachable=0
reason=$(archive_reachable "$mirror" "$release") || reachable=$?
case $reachable in
  0) ;;
  1) echo "SKIPPED: the Debian archive $mirror cannot be reached, so Velquist was not tested on Debian $release."
     echo "$reason" | sed 's/^/  apt: /'
     exit 0 ;;
  *) echo "FAIL: $mirror has no Debian release '$release':" >&2
     echo "$reason" | sed 's/^/  apt: /' >&2
     exit 1 ;;
esac

ensure_packages "${VELQUIST_CHROOT_PACKAGES[@]}"
base=$(chroot_base "$release")
root=$(mktemp -d "/var/tmp/velquist-$release.XXXXXX")
cleanup() {
  local status=$?
  chroot_keep_downloads "$base" "$root"
  chroot_unmount_all "$root"
  chroot_remove "$root" || status=1
  exit $status
}
trap cleanup EXIT
trap 'exit 130' INT TERM
chroot_unpack "$base" "$root"

# The checkout goes to /velquist/velquist, and the team's shared folder, when it
# lies beside the checkout, to /velquist/shared, where the tests look for it.
inside=/velquist/velquist
mkdir -p "$root$inside"
if git -C "$VELQUIST_ROOT" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  (cd "$VELQUIST_ROOT" && git ls-files -z --cached --others --exclude-standard \
     | tar --null -T - --ignore-failed-read -cf -) | tar -C "$root$inside" -xf -
else
  tar -C "$VELQUIST_ROOT" --exclude='./build' --exclude='./build-*' -cf - . | tar -C "$root$inside" -xf -
fi
if [ -d "$VELQUIST_ROOT/../shared" ]; then
  cp -rL "$VELQUIST_ROOT/../shared" "$root/velquist/shared"
fi

# in_chroot COMMAND...: runs COMMAND in the checkout inside, with a clean
# environment such as a root shell of the release has.
in_chroot() {
  chroot "$root" /usr/bin/env -i \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    HOME=/root LANG=C.UTF-8 TERM="${TERM:-dumb}" CI="${CI:-}" \
    bash -c 'cd "$0" && exec "$@"' "$inside" "$@"
}

echo "== Debian $release chroot: scripts/test.sh $*"
in_chroot bash scripts/test.sh "$@"

# The package is built and checked only with the plain test run, which has
# installed everything package.sh needs.
[ $# -eq 0 ] || exit 0
echo "== Debian $release chroot: scripts/package.sh"
out="$VELQUIST_ROOT/build-chroot/$release"
mkdir -p "$out"
rm -f "$out"/velquist_*.deb
in_chroot bash scripts/package.sh | tee "$out/package.log"
deb_inside=$(tail -n 1 "$out/package.log")
cp "$root$inside/${deb_inside#"$inside"/}" "$out/"
deb="$out/$(basename "$deb_inside")"
echo "built on Debian $release: $deb"

# ---- The clean-install check of the package on RELEASE --------------------
# tests/packaging/clean_install.sh DEB RELEASE installs the package in a fresh
# minimal chroot of RELEASE and checks it there; it comes with the packaging
# work. This is the one place that calls it.
if [ -f "$VELQUIST_ROOT/tests/packaging/clean_install.sh" ]; then
  [ -z "${VELQUIST_CLEAN_INSTALL_PACKAGES+set}" ] || ensure_packages "${VELQUIST_CLEAN_INSTALL_PACKAGES[@]}"
  bash "$VELQUIST_ROOT/tests/packaging/clean_install.sh" "$deb" "$release"
else
  echo "NOT CHECKED: tests/packaging/clean_install.sh is not in this checkout yet, so the package's clean install on Debian $release is not checked here."
fi
