#!/usr/bin/env bash
# Runs a command as root in a throw-away Debian root: a fresh copy of a minimal
# install of SUITE (debootstrap's minbase variant), with a host folder shared
# at /share. The copy and everything mounted in it are gone afterwards, also
# after a failure: the mounts live in a mount namespace of their own, and every
# process started inside ends with the command.
#   debian-root.sh SUITE SHARE COMMAND...
# The minimal install is kept as a tarball in $ROOT_CACHE, rebuilt when older
# than a week; the packages apt fetches inside are kept there too, so that a
# second run on one machine downloads nothing again. Both are only caches: each
# run installs what it needs, as on a new machine.
set -euo pipefail
[[ $# -ge 3 ]] || { echo "usage: $0 SUITE SHARE COMMAND..." >&2; exit 2; }
suite=$1 share=$(realpath "$2")
shift 2
cache=${ROOT_CACHE:-/var/cache/tumblara-roots}
# The mirror this machine's apt uses, else Debian's own.
mirror=${MIRROR:-$(grep -rhoE '^(deb|URIs:) +https?://[^ ]+/debian/?( |$)' /etc/apt/sources.list \
  /etc/apt/sources.list.d 2>/dev/null | grep -oE 'https?://[^ ]+' | head -1 || true)}
mirror=${mirror:-http://deb.debian.org/debian}

if [[ -z ${DEBIAN_ROOT_INSIDE:-} ]]; then
  [[ $(id -u) -eq 0 ]] || { echo "$0: building a Debian root takes root" >&2; exit 1; }
  mkdir -p "$cache/$suite-archives/partial"
  tarball=$cache/$suite-minbase.tar
  if [[ ! -s $tarball ]] || [[ -n $(find "$tarball" -mtime +7) ]]; then
    echo "debian-root: a minimal Debian $suite from $mirror"
    fresh=$(mktemp -d /var/tmp/debian-root.XXXXXX)
    trap 'rm -rf --one-file-system "$fresh"' EXIT
    debootstrap --variant=minbase "$suite" "$fresh" "$mirror" >"$cache/$suite-debootstrap.log" 2>&1 ||
      { tail -20 "$cache/$suite-debootstrap.log"; exit 1; }
    tar -C "$fresh" --numeric-owner -cf "$tarball.new" . && mv "$tarball.new" "$tarball"
    rm -rf --one-file-system "$fresh"
    trap - EXIT
  fi
  root=$(mktemp -d /var/tmp/debian-root.XXXXXX)
  # Never deletes through a mount that outlived its namespace: the shared
  # folder is on the host.
  trap 'if findmnt -rno TARGET | grep -q "^$root/"; then echo "debian-root: $root still has mounts" >&2;
        else rm -rf --one-file-system "$root"; fi' EXIT
  tar -C "$root" --numeric-owner -xf "$tarball"
  chmod 755 "$root"  # the top folder of a system, readable by all its users
  status=0
  # A new mount and process namespace: whatever is mounted or left running
  # inside goes with it.
  DEBIAN_ROOT_INSIDE=$root unshare --mount --pid --fork --propagation private "$0" "$suite" "$share" "$@" ||
    status=$?
  exit $status
fi

root=$DEBIAN_ROOT_INSIDE
mount -t proc proc "$root/proc"
mount -t sysfs -o ro sysfs "$root/sys"
mount -t devpts -o newinstance,ptmxmode=0666 devpts "$root/dev/pts"
mount --bind "$root/dev/pts/ptmx" "$root/dev/ptmx"
mount -t tmpfs -o mode=1777 shm "$root/dev/shm"
mkdir -p "$root/share"
mount --bind "$share" "$root/share"
mount --bind "$cache/$suite-archives" "$root/var/cache/apt/archives"
cp /etc/resolv.conf "$root/etc/resolv.conf"
# Services are not started by package installs in a root.
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod +x "$root/usr/sbin/policy-rc.d"
echo "debian-root: Debian $(cat "$root/etc/debian_version"), running: $*"
exec chroot "$root" /usr/bin/env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
  HOME=/root LANG=C.UTF-8 TERM="${TERM:-dumb}" CI="${CI:-}" "$@"
