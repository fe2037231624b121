# Minimal Debian chroots of another release, made with debootstrap from the
# archive this machine's apt already uses, for building, testing and
# installing Velquist there. Needs root.
# shellcheck shell=bash

# The bases are kept outside any checkout, so that a fresh clone (as CI makes
# one) finds the base an earlier run made; the .debs apt fetched inside are
# kept there too, so a later run downloads only what changed.
VELQUIST_CHROOT_CACHE=${VELQUIST_CHROOT_CACHE:-/var/cache/velquist}
# A base older than this is made again, so that the chroot does not drift far
# from what a fresh install of the release looks like.
VELQUIST_CHROOT_MAX_AGE_DAYS=${VELQUIST_CHROOT_MAX_AGE_DAYS:-30}
VELQUIST_CHROOT_PACKAGES=(debootstrap)

# debian_mirror [security]: prints the first archive URI of this machine's
# apt sources (deb822 files first, then one-line lists), of the security
# archive when asked. VELQUIST_DEBIAN_MIRROR and VELQUIST_DEBIAN_SECURITY
# override them.
debian_mirror() {
  local want=${1:-main} override
  if [ "$want" = security ]; then override=${VELQUIST_DEBIAN_SECURITY:-}; else override=${VELQUIST_DEBIAN_MIRROR:-}; fi
  if [ -n "$override" ]; then echo "${override%/}"; return 0; fi
  local found
  found=$(
    {
      for f in /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] || continue
        # One stanza per record: its first URI and its suites.
        awk -v RS= '{
          uri = ""; suites = ""; enabled = 1; deb = 0
          n = split($0, lines, "\n")
          for (i = 1; i <= n; i++) {
            line = lines[i]
            if (line ~ /^[ \t]*#/) continue
            if (line ~ /^Types:/ && line ~ /[ \t]deb([ \t]|$)/) deb = 1
            if (line ~ /^Enabled:[ \t]*no/) enabled = 0
            if (line ~ /^URIs:/) { split(line, w, /[ \t]+/); uri = w[2] }
            if (line ~ /^Suites:/) { suites = line; sub(/^Suites:[ \t]*/, "", suites) }
          }
          if (deb && enabled && uri != "") print uri, suites
        }' "$f"
      done
      for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$f" ] || continue
        sed -n 's/^[ \t]*deb[ \t]\+\(\[[^]]*\][ \t]\+\)\?\([^ \t]\+\)[ \t]\+\([^ \t]\+\).*/\2 \3/p' "$f"
      done
    } | awk -v want="$want" '{
      security = 0
      for (i = 2; i <= NF; i++) if ($i ~ /-security$|\/updates$/) security = 1
      if ((want == "security") == security) { print $1; exit }
    }'
  )
  [ -n "$found" ] || { echo "no Debian archive in this machine's apt sources" >&2; return 1; }
  echo "${found%/}"
}

# archive_reachable MIRROR RELEASE: whether the release's index can be fetched
# from MIRROR within a minute or two. Status 0: it can; 1: the archive cannot
# be reached (no network, no name, no answer); 2: it answered, but not with the
# index (a wrong release name, say). Prints apt's reason when it fails.
archive_reachable() {
  local mirror=$1 release=$2 out tmp status=0
  tmp=$(mktemp -d)
  out=$(timeout 120 /usr/lib/apt/apt-helper -o Acquire::http::Timeout=30 -o Acquire::Retries=1 \
          download-file "$mirror/dists/$release/InRelease" "$tmp/InRelease" 2>&1) || status=$?
  rm -rf "$tmp"
  [ $status -eq 0 ] && return 0
  out=$(grep -Ev '^W: Download is performed unsandboxed' <<<"$out" | grep -E '^(E|Err):' || tail -n 3 <<<"$out")
  echo "$out"
  # apt quotes the server's status ("404  Not Found") when there was one. A
  # server error (5xx, often a proxy that cannot reach it either) counts as
  # unreachable.
  if grep -Eq '^E: Failed to fetch .* 4[0-9][0-9] ' <<<"$out"; then return 2; fi
  return 1
}

# chroot_base RELEASE: prints the path of the cached minimal base of RELEASE
# (a tarball), making it first when it is missing or old.
chroot_base() {
  local release=$1 arch mirror security base dir
  arch=$(dpkg --print-architecture)
  mkdir -p "$VELQUIST_CHROOT_CACHE/chroot"
  base="$VELQUIST_CHROOT_CACHE/chroot/$release-$arch-minbase.tar.gz"
  (
    # One maker at a time; the others wait and take its base.
    flock 9
    if [ -s "$base" ] && [ -z "$(find "$base" -mtime +"$VELQUIST_CHROOT_MAX_AGE_DAYS")" ]; then
      exit 0
    fi
    mirror=$(debian_mirror) || exit 1
    security=$(debian_mirror security 2>/dev/null || echo "${mirror%/debian}/debian-security")
    dir=$(mktemp -d /var/tmp/velquist-base.XXXXXX)
    # The bootstrap mounts /proc and /sys inside while it runs; nothing may
    # be mounted there when the tree is removed.
    trap 'chroot_unmount_all "$dir"; chroot_remove "$dir"' EXIT
    echo "Making a minimal Debian $release base from $mirror (cached in $base)" >&2
    if ! debootstrap --variant=minbase --arch="$arch" "$release" "$dir" "$mirror" \
        >"$dir.log" 2>&1; then
      tail -n 20 "$dir.log" >&2
      echo "debootstrap failed; its log: $dir.log" >&2
      exit 1
    fi
    rm -f "$dir.log"
    # The sources a fresh install of the release has: the release, its
    # updates and its security archive, from the same hosts as here.
    rm -f "$dir/etc/apt/sources.list"
    cat >"$dir/etc/apt/sources.list.d/debian.sources" <<EOF
Types: deb
URIs: $mirror
Suites: $release $release-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb
URIs: $security
Suites: $release-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
    # No package's maintainer script may start a service in the chroot.
    printf '#!/bin/sh\nexit 101\n' >"$dir/usr/sbin/policy-rc.d"
    chmod 755 "$dir/usr/sbin/policy-rc.d"
    chroot "$dir" apt-get clean
    chroot_unmount_all "$dir"
    tar -C "$dir" --numeric-owner -czf "$base.tmp" . && mv "$base.tmp" "$base"
    # The downloads of the old base go with it, so that they do not pile up.
    rm -rf "$(chroot_downloads "$base")"
  ) 9>"$VELQUIST_CHROOT_CACHE/chroot/.lock" || return 1
  echo "$base"
}

# chroot_downloads BASE: the folder that keeps the .debs apt fetched in
# chroots of BASE.
chroot_downloads() {
  echo "$VELQUIST_CHROOT_CACHE/apt/$(basename "$1" .tar.gz)"
}

# chroot_unpack BASE ROOT: a fresh chroot in the new folder ROOT from BASE,
# with /proc, /sys, /dev and /dev/pts mounted and the .debs fetched before at
# hand. chroot_keep_downloads, chroot_unmount_all and chroot_remove undo it.
chroot_unpack() {
  local base=$1 root=$2 downloads
  downloads=$(chroot_downloads "$base")
  mkdir -p "$root" "$downloads"
  tar -C "$root" --numeric-owner -xzf "$base"
  # Linked in rather than mounted, so that chroots running side by side do
  # not wait on one another's lock of apt's download folder.
  find "$downloads" -maxdepth 1 -name '*.deb' -exec cp -al -t "$root/var/cache/apt/archives" {} +
  cp -L /etc/resolv.conf "$root/etc/resolv.conf"
  # The chroot is thrown away after the run: dpkg need not wait for each
  # file to reach the disk, which makes installing several times faster.
  echo force-unsafe-io >"$root/etc/dpkg/dpkg.cfg.d/velquist-unsafe-io"
  mount -t proc proc "$root/proc"
  mount -t sysfs sysfs "$root/sys"
  mount --bind /dev "$root/dev"
  mount --make-rslave "$root/dev"
  # A pty instance of its own, so that nothing in the chroot touches the host's.
  mount -t devpts -o newinstance,ptmxmode=0666,gid=5,mode=620 devpts "$root/dev/pts"
  mount -t tmpfs -o mode=1777 tmpfs "$root/dev/shm"
}

# chroot_keep_downloads BASE ROOT: keeps the .debs apt fetched in ROOT for
# the next chroot of BASE.
chroot_keep_downloads() {
  local downloads
  downloads=$(chroot_downloads "$1")
  [ -d "$2/var/cache/apt/archives" ] || return 0
  find "$2/var/cache/apt/archives" -maxdepth 1 -name '*.deb' -exec cp -aln -t "$downloads" {} + || true
}

# chroot_unmount_all ROOT: unmounts everything below ROOT, deepest first.
chroot_unmount_all() {
  local root mnt
  root=$(realpath -m "$1")
  for mnt in $(awk -v r="$root/" 'index($2 "/", r) == 1 { print $2 }' /proc/mounts | sort -r); do
    umount "$mnt" 2>/dev/null || umount -l "$mnt" || true
  done
}

# chroot_remove ROOT: removes the tree ROOT, but never while anything is still
# mounted below it (a bound /dev would take the host's device files with it).
chroot_remove() {
  local root
  root=$(realpath -m "$1")
  [ -d "$root" ] || return 0
  if awk -v r="$root/" 'index($2 "/", r) == 1 { found = 1 } END { exit !found }' /proc/mounts; then
    echo "not removing $root: something is still mounted below it" >&2
    return 1
  fi
  rm -rf --one-file-system "$root"
}
