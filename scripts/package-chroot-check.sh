#!/usr/bin/env bash
# The packages on a fresh Debian 12: a minimal system is made with debootstrap from Debian's
# mirror (about 2 minutes, plus 2 for the window package's toolkit), tdxxload-cli is installed
# alone and must bring nothing but its libraries, then tdxxload, then both are purged and no
# file of ours may be left. Needs root and the network to Debian's mirror; not part of .ci/run,
# whose install check resolves the same closure from an empty dpkg status instead.
# Usage: package-chroot-check.sh TDXXLOAD-CLI.deb TDXXLOAD.deb [MIRROR]
set -euo pipefail
cli_deb=$(realpath "$1")
gui_deb=$(realpath "$2")
mirror=${3:-http://deb.debian.org/debian}
[ "$(id -u)" -eq 0 ] || { echo "chroot check: needs root"; exit 1; }
command -v debootstrap >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap

root=$(mktemp -d /tmp/tdxxload-chroot.XXXXXX)
chmod 755 "$root"
trap 'rm -rf "$root"' EXIT
debootstrap --variant=minbase bookworm "$root" "$mirror" >"$root.debootstrap.log" 2>&1 ||
  { cat "$root.debootstrap.log"; exit 1; }
rm -f "$root.debootstrap.log"
cp "$cli_deb" "$root/tmp/tdxxload-cli.deb"
cp "$gui_deb" "$root/tmp/tdxxload.deb"

chroot "$root" /bin/bash -euo pipefail -c '
  export DEBIAN_FRONTEND=noninteractive
  status=0
  fail() { echo "chroot check: $*"; status=1; }
  installed() { dpkg-query -W -f="\${Package}\n" | sort; }
  apt-get update -qq
  installed >/tmp/before
  apt-get install -y -q /tmp/tdxxload-cli.deb >/dev/null
  installed >/tmp/after
  added=$(comm -13 /tmp/before /tmp/after)
  echo "chroot check: tdxxload-cli brought:" $added
  if echo "$added" | grep -E "^(libqt|qt6|libx11|libxcb|libgl|libegl|libwayland)"; then
    fail "tdxxload-cli pulled in a toolkit"
  fi
  tdxxload-cli --version >/dev/null || fail "tdxxload-cli does not run"
  apt-get install -y -q /tmp/tdxxload.deb >/dev/null || fail "tdxxload does not install"
  mkdir -p /var/lib/tdxxload/Quorvane/KeysmithTDxx
  apt-get purge -y -q tdxxload tdxxload-cli >/dev/null
  left=$(find / -xdev \( -path /proc -o -path /tmp -o -path /var/lib/dpkg -o -path /var/cache \
    -o -path /var/log \) -prune -o -iname "*tdxx*" -print)
  [ -z "$left" ] || fail "left after purge: $left"
  ! grep -qs tdxx /usr/share/mime/globs2 || fail "MIME types left after purge"
  getent group tdxxload >/dev/null || fail "purge removed the group"
  [ "$status" -eq 0 ] && echo "chroot check: fresh Debian 12: installed alone, with the window, purged cleanly"
  exit "$status"'
