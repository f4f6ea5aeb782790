#!/usr/bin/env bash
# Tries the README's test command as a new user would: makes a minimal Debian
# root with debootstrap in a temporary folder, clones this checkout's committed
# HEAD into it and runs `bash scripts/build-and-test.sh` there as root.
#
#   sudo bash scripts/check-fresh-debian.sh SUITE      (bookworm or trixie)
#
# The mirror is the running system's first Debian archive in its apt sources;
# set DEBIAN_MIRROR to use another. Needs root, debootstrap, a few GB in
# TMPDIR (default /var/tmp) and about ten minutes or more. Not part of CI.
set -euo pipefail

# Read whole before it runs: the checkout may change during the long build.
{
die() {
  echo "check-fresh-debian: $*" >&2
  exit 2
}

suite="${1:-}"
case "$suite" in
  bookworm | trixie) ;;
  *) die "usage: $0 bookworm|trixie" ;;
esac
[ "$(id -u)" -eq 0 ] || die "needs root (debootstrap, chroot and mounts)"
command -v debootstrap >/dev/null || die "debootstrap is not installed"
checkout="$(cd "$(dirname "$0")/.." && pwd)"
commit="$(git -C "$checkout" rev-parse HEAD)"

mirror="${DEBIAN_MIRROR:-}"
if [ -z "$mirror" ]; then
  mirror="$(apt-get indextargets --format '$(REPO_URI) $(RELEASE)' 2>/dev/null |
    awk '$2 !~ /-(security|updates|backports)$/ && $1 !~ /security/ { print $1; exit }')"
fi
[ -n "$mirror" ] || die "no Debian mirror in the apt sources; set DEBIAN_MIRROR"

root="$(mktemp -d "${TMPDIR:-/var/tmp}/quillmark-$suite.XXXXXX")"
# It becomes the root folder, which every user must be able to pass through
# (mktemp makes it 0700; the tests also run as other users).
chmod 755 "$root"

# Every process still running in the root is one this script started.
cleanup() {
  local link pid
  for link in /proc/[0-9]*/root; do
    if [ "$(readlink "$link" 2>/dev/null)" = "$root" ]; then
      pid="${link#/proc/}"
      kill -KILL "${pid%/root}" 2>/dev/null || true
    fi
  done
  # Deepest first, so that nothing is still mounted when the folder goes.
  awk -v r="$root" '$2 == r || index($2, r "/") == 1 { print $2 }' /proc/self/mounts |
    sort -r | while read -r mountpoint; do
      umount -l "$mountpoint" 2>/dev/null || true
    done
  if awk -v r="$root" 'index($2, r) == 1 { found = 1 } END { exit !found }' /proc/self/mounts; then
    echo "check-fresh-debian: still mounted under $root, left in place" >&2
  else
    rm -rf "$root"
  fi
  rm -f "$root.debootstrap.log"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

echo "check-fresh-debian: $suite from $mirror into $root"
debootstrap --variant=minbase "$suite" "$root" "$mirror" >"$root.debootstrap.log" 2>&1 || {
  tail -n 20 "$root.debootstrap.log"
  rm -f "$root.debootstrap.log"
  die "debootstrap failed"
}
rm -f "$root.debootstrap.log"

# A mount point of its own, as a real root is: the private print scheduler the
# tests start makes its mounts private, which needs "/" to be a mount point.
mount --bind "$root" "$root"
cp /etc/resolv.conf "$root/etc/resolv.conf"
# Packages installed in the root must not start their services (cups) here:
# they would outlive the chroot. The tests start a private scheduler of their own.
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod 755 "$root/usr/sbin/policy-rc.d"

mount -t proc proc "$root/proc"
mount -t sysfs sysfs "$root/sys"
mount --rbind /dev "$root/dev"
mount --make-rslave "$root/dev"
mount -t tmpfs tmpfs "$root/run"
mount -t tmpfs tmpfs "$root/tmp"

git clone --quiet "$checkout" "$root/root/quillmark"
git -C "$root/root/quillmark" checkout --quiet --detach "$commit"

echo "check-fresh-debian: running bash scripts/build-and-test.sh at $commit"
# In the background, so that a signal to this script runs the clean-up at once
# rather than after the build.
status=0
chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb \
  PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
  bash -c 'cd /root/quillmark && bash scripts/build-and-test.sh' </dev/null &
wait $! || status=$?

release="$(. "$root/etc/os-release" && echo "$PRETTY_NAME")"
if [ $status -eq 0 ]; then
  echo "check-fresh-debian: PASS on $release ($suite) at $commit"
else
  echo "check-fresh-debian: FAIL (exit $status) on $release ($suite) at $commit"
fi
exit $status
}
