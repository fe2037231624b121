#!/usr/bin/env bash
# clean_install.sh DEB RELEASE
# Installs DEB as a new user of Debian RELEASE (bookworm, trixie) would: into
# a minimal chroot (debootstrap --variant=minbase) from the archive this
# machine's apt uses, with apt-get install --no-install-recommends. Then,
# seeing only what the package brought into that chroot, it checks that every
# character of the program's texts has a glyph in a font fontconfig finds
# there, that Qt's Chinese catalogue is there, and that the program maps its
# main window on an X server, whose picture it saves; last, piuparts installs,
# removes and purges the package and looks for anything left behind.
#
# One line per check, then "N passed, M failed"; the exit status is 1 when a
# check failed. When the archive cannot be reached, it says so and exits 0
# without checking anything.
#
# The minimal base is made once and kept, as the tarball piuparts also starts
# from, in $VELQUIST_CHROOT_CACHE (default /var/cache/velquist/clean-install,
# outside the checkout, so fresh clones on this machine share it); it is made
# again when older than $VELQUIST_BASE_MAX_DAYS days (default 7). Downloaded packages are
# kept there too. VELQUIST_DEBIAN_MIRROR, when set, is the archive instead
# of apt's. The picture and the logs go to DEB's folder, in
# clean-install-RELEASE/. Needs root, debootstrap, piuparts, Xvfb, xwininfo
# (x11-utils) and import (imagemagick).
set -euo pipefail
if [ $# -ne 2 ]; then
  echo "usage: $0 DEB RELEASE" >&2
  exit 2
fi
deb=$(realpath "$1") release=$2
here=$(cd "$(dirname "$0")" && pwd)
sources=$(cd "$here/../.." && pwd)
cache=${VELQUIST_CHROOT_CACHE:-/var/cache/velquist/clean-install}
max_days=${VELQUIST_BASE_MAX_DAYS:-7}
out="$(dirname "$deb")/clean-install-$release"

die() { echo "FAIL: $*" >&2; exit 1; }
[ -f "$deb" ] || die "no package at $1"
[[ $release =~ ^[a-z]+$ ]] || die "RELEASE is a Debian code name such as bookworm, not '$release'"
[ "$(id -u)" -eq 0 ] || die "debootstrap, chroot and piuparts need root"
for tool in debootstrap piuparts Xvfb xwininfo import python3; do
  command -v "$tool" >/dev/null || die "$tool is missing (packages debootstrap piuparts xvfb x11-utils imagemagick)"
done

# The archive: the first URI apt reads for a suite without a suffix (not
# -updates, -security), from the deb822 .sources files or the one-line format.
mirror=$(
  shopt -s nullglob
  for f in /etc/apt/sources.list.d/*.sources; do
    awk 'BEGIN { RS = ""; FS = "\n" }
         { uri = ""; ok = 0; deb = 0
           for (i = 1; i <= NF; i++) {
             if ($i ~ /^URIs:/) { split($i, w, " "); uri = w[2] }
             if ($i ~ /^Types:/ && $i ~ /(^|[ \t])deb([ \t]|$)/) deb = 1
             if ($i ~ /^Suites:/) { n = split($i, w, " "); for (j = 2; j <= n; j++) if (w[j] ~ /^[a-z]+$/) ok = 1 }
           }
           if (deb && ok && uri != "") print uri }' "$f"
  done
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ ! -f "$f" ] || sed -En 's/^deb[ \t]+(\[[^]]*\][ \t]+)?([^ \t]+)[ \t]+[a-z]+[ \t].*/\2/p' "$f"
  done
)
# VELQUIST_DEBIAN_MIRROR names another archive, such as a local mirror.
mirror=${VELQUIST_DEBIAN_MIRROR:-$(head -n1 <<<"$mirror")}
mirror=${mirror%/}
[ -n "$mirror" ] || die "found no Debian archive in /etc/apt/sources.list or /etc/apt/sources.list.d/"

mkdir -p "$cache" "$out"
# Can the archive be reached at all? apt's own downloader uses apt's proxy
# settings, as apt in the chroot will.
probe=$(mktemp)
if ! timeout 60 /usr/lib/apt/apt-helper download-file "$mirror/dists/$release/InRelease" "$probe" \
     >"$out/probe.log" 2>&1; then
  rm -f "$probe"
  if grep -Eq '404|Not Found' "$out/probe.log"; then
    die "the archive $mirror has no release $release"
  fi
  reason=$(sed -n '/^Err:/{n;s/^ *//p;q}' "$out/probe.log")
  echo "SKIPPED: the Debian archive $mirror cannot be reached (${reason:-$(tail -n1 "$out/probe.log")}); the clean-install check of $release did not run"
  exit 0
fi
rm -f "$probe"

passed=0 failed=0
pass() { echo "PASS: $*"; passed=$((passed + 1)); }
fail() { echo "FAIL: $*"; failed=$((failed + 1)); }
finish() {
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}

# Everything mounted or started here is undone however the script ends; the
# chroot is deleted only once nothing is mounted inside it any more.
work=$(mktemp -d /var/tmp/velquist-clean-install.XXXXXX)
root="$work/root"
started=()
cleanup() {
  local p
  for p in "${started[@]}"; do kill -KILL "$p" 2>/dev/null || true; done
  for p in "${started[@]}"; do wait "$p" 2>/dev/null || true; done
  # Processes the program may have left in the chroot go with it.
  if [ -d "$root/proc" ]; then
    for p in /proc/[0-9]*; do
      [ "$(readlink "$p/root" 2>/dev/null)" = "$root" ] && kill -KILL "${p#/proc/}" 2>/dev/null || true
    done
  fi
  if findmnt -rn -o TARGET | grep -q "^$root"; then
    findmnt -rn -o TARGET | grep "^$root" | sort -r | while read -r m; do umount -l "$m" || true; done
  fi
  if findmnt -rn -o TARGET | grep -q "^$root"; then
    echo "left $work in place: something is still mounted inside it" >&2
  else
    rm -rf "$work"
  fi
}
trap cleanup EXIT

# The base, made under a lock so that two runs never build the same one.
base="$cache/$release-minbase.tgz"
archives="$cache/archives-$release"
mkdir -p "$archives/partial"
exec 9>"$cache/$release.lock"
flock 9
if [ -f "$base" ] && [ -z "$(find "$base" -mtime +"$max_days")" ]; then
  echo "base: $base, made $(date -u -r "$base" '+%Y-%m-%d %H:%M UTC')"
else
  echo "base: making $base with debootstrap --variant=minbase $release $mirror"
  fresh="$work/base"
  if ! debootstrap --variant=minbase "$release" "$fresh" "$mirror" >"$out/debootstrap.log" 2>&1; then
    tail -n 20 "$out/debootstrap.log" >&2
    die "debootstrap of $release failed; see $out/debootstrap.log"
  fi
  echo "deb $mirror $release main" >"$fresh/etc/apt/sources.list"
  chroot "$fresh" apt-get clean
  tar -C "$fresh" -czf "$base.new" .
  mv "$base.new" "$base"
  rm -rf "$fresh"
fi
flock -u 9

# The user's system: the base with the package, installed as a user would,
# downloads kept in the cache between runs.
mkdir "$root"
tar -C "$root" -xzf "$base"
mount -t proc proc "$root/proc"
mount --bind "$archives" "$root/var/cache/apt/archives"
cp /etc/resolv.conf "$root/etc/resolv.conf"
# No service of any package starts inside the chroot.
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod +x "$root/usr/sbin/policy-rc.d"
cp "$deb" "$root/tmp/"
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"; }
base_count=$(in_root dpkg-query -W -f='${Package}\n' | wc -l)
if in_root apt-get -o DPkg::Lock::Timeout=600 update >"$out/apt.log" 2>&1 \
   && in_root env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 install -y \
        --no-install-recommends "/tmp/$(basename "$deb")" >>"$out/apt.log" 2>&1; then
  brought=$(( $(in_root dpkg-query -W -f='${Package}\n' | wc -l) - base_count ))
  pass "apt-get install --no-install-recommends $(basename "$deb") into a minimal $release: $brought packages added to the base's $base_count, $(sed -n 's/^Need to get \(.*\) of archives.*/\1/p' "$out/apt.log" | sed 's|.*/||' | tail -n1) of packages"
else
  tail -n 20 "$out/apt.log"
  fail "apt-get install --no-install-recommends $(basename "$deb") into a minimal $release; see $out/apt.log"
  finish
  exit 1
fi
in_root dpkg-query -W -f='${Package} ${Version}\n' >"$out/installed-packages.txt"

# Every character of the program's texts, taken from its sources, asked of
# fontconfig inside the chroot one by one.
codes=$(python3 "$here/program_texts.py" "$sources/app" "$sources/core")
count=$(wc -l <<<"$codes")
if ! in_root sh -c 'command -v fc-list' >/dev/null; then
  fail "glyphs: fontconfig's fc-list is not in the chroot, so nothing can say which fonts it finds"
else
  missing=$(in_root sh -c 'for c in "$@"; do [ -n "$(fc-list ":charset=$c" family)" ] || echo "$c"; done' sh $codes)
  families=$(in_root fc-list --format '%{family[0]}\n' | sort -u | paste -sd, | sed 's/,/, /g')
  if [ -z "$missing" ]; then
    pass "glyphs: every one of the $count characters of the program's texts is in a font fontconfig finds ($families)"
  else
    fail "glyphs: $(wc -l <<<"$missing") of the $count characters of the program's texts are in no font fontconfig finds ($families): $(python3 -c 'import sys; print("".join(chr(int(c, 16)) for c in sys.argv[1:]))' $missing)"
  fi
fi

catalogue=/usr/share/qt6/translations/qtbase_zh_CN.qm
if [ -s "$root$catalogue" ]; then
  pass "Qt's Chinese catalogue: $catalogue from $(in_root dpkg -S "$catalogue" | cut -d: -f1)"
else
  fail "Qt's Chinese catalogue: $catalogue is not there"
fi

# The X server runs outside the chroot, so that nothing it needs enters it;
# the program reaches it through the abstract socket, which a chroot shares.
display_file="$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" 2>"$out/xvfb.log" &
started+=($!)
for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
picture="$out/clean-install-$release.png"
if [ ! -s "$display_file" ]; then
  fail "main window: Xvfb did not start; see $out/xvfb.log"
else
  export DISPLAY=":$(head -n1 "$display_file")"
  in_root env DISPLAY="$DISPLAY" QT_QPA_PLATFORM=xcb velquist >"$out/velquist.log" 2>&1 &
  started+=($!)
  window=
  for _ in $(seq 200); do
    kill -0 "${started[-1]}" 2>/dev/null || break
    # The program's class is the sign, as the title may reach xwininfo in
    # another encoding; only a viewable window counts.
    window=$(xwininfo -root -children 2>/dev/null | sed -n 's/^ *\(0x[0-9a-f]*\) .*("velquist" .*/\1/p' | head -n1)
    [ -n "$window" ] && xwininfo -id "$window" | grep -q 'Map State: IsViewable' && break
    window=
    sleep 0.1
  done
  if [ -z "$window" ]; then
    fail "main window: the installed velquist mapped no main window within 20 s; see $out/velquist.log"
  else
    # Mapped is not yet painted: give it a moment before the picture.
    sleep 1.5
    geometry=$(xwininfo -id "$window" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }')
    if import -window "$window" "$picture" 2>"$out/import.log"; then
      pass "main window: the installed velquist maps its main window ($geometry) on Xvfb $DISPLAY; picture: $picture"
    else
      fail "main window: mapped, but no picture could be taken; see $out/import.log"
    fi
  fi
fi

# piuparts starts from the same base, in a chroot of its own, fetches the
# dependencies itself without Recommends, installs the package, removes it
# and purges it, and compares the files with those it started with. Its
# verdict is quoted as it gives it.
verdict() { sed -n 's/^[0-9]*m[0-9.]*s INFO: \(\(PASS\|FAIL\): .*\)/\1/p' "$out/piuparts.log" | sort -u | paste -sd' '; }
# Debian 13's debconf leaves its own scratch folder tmp.ci behind whatever it
# configured, which Debian 12's piuparts does not know to ignore yet.
if timeout 1800 piuparts --basetgz "$base" --mirror "$mirror main" --distribution "$release" \
     --no-upgrade-test --ignore=/var/cache/debconf/tmp.ci/ \
     --log-file "$out/piuparts.log" "$deb" >/dev/null 2>&1; then
  pass "piuparts (install, remove, purge, nothing left behind): $(verdict)"
else
  fail "piuparts (install, remove, purge, nothing left behind): $(verdict; grep -E '^[0-9]*m[0-9.]*s (ERROR|FAIL)' "$out/piuparts.log" | tail -n3); see $out/piuparts.log"
fi

finish
