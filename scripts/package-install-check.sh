#!/usr/bin/env bash
# Installs the two packages on this machine as a user would, checks what the maintainer scripts
# did, reconfigures, then purges and checks that no file of ours is left. Needs root (or sudo);
# refuses when either package is installed already, so that nobody's installation is touched.
# Usage: package-install-check.sh TDXXLOAD-CLI.deb TDXXLOAD.deb
set -euo pipefail
cli_deb=$(realpath "$1")
gui_deb=$(realpath "$2")

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  if ! sudo -n true 2>/dev/null; then
    echo "install check: skipped (needs root or sudo)"
    exit 0
  fi
  as_root=(sudo)
fi
for package in tdxxload-cli tdxxload; do
  if dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -qv "not-installed"; then
    echo "install check: skipped ($package is installed here already)"
    exit 0
  fi
done

status=0
fail() {
  echo "install check: $*"
  status=1
}
apt_get() { DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get -y -q "$@"; }
installed() { dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' | sed -n 's/^ii  *//p' | sort; }

before="$(installed)"
apt_get install "$cli_deb" >/dev/null
added="$(comm -13 <(echo "$before") <(installed))"
echo "install check: apt install tdxxload-cli added:" $added
if echo "$added" | grep -E '^(libqt|qt6|libx11|libxcb|libgl)'; then fail "tdxxload-cli pulled in a toolkit"; fi
tdxxload-cli --version >/dev/null || fail "tdxxload-cli does not run"
getent group tdxxload >/dev/null || fail "no tdxxload group"
[ "$(stat -c '%a %G' /var/lib/tdxxload)" = "2775 tdxxload" ] ||
  fail "/var/lib/tdxxload is $(stat -c '%a %G' /var/lib/tdxxload), not 2775 tdxxload"

# An administrator's mode survives a reconfigure.
"${as_root[@]}" chmod 2770 /var/lib/tdxxload
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" dpkg-reconfigure tdxxload-cli
[ "$(stat -c '%a' /var/lib/tdxxload)" = 2770 ] || fail "dpkg-reconfigure reset the shared folder's mode"

apt_get install "$gui_deb" >/dev/null
[ -x /usr/bin/tdxxload ] || fail "tdxxload is not installed"
appstreamcli validate --no-net /usr/share/metainfo/io.github.tdxxload.tdxxload.metainfo.xml >/dev/null ||
  fail "the installed metainfo does not validate"
# The system's MIME database, updated by shared-mime-info's trigger, as the file manager sees it.
if command -v gio >/dev/null && [ -f /usr/share/mime/mime.cache ]; then
  probe=$(mktemp -d)
  cp "$(command -v gio)" "$probe/x.bin"
  printf '[GLOBAL]\r\n' >"$probe/x.ckd"
  type_of() { gio info -a standard::content-type "$1" | sed -n 's/^ *standard::content-type: //p'; }
  [[ $(type_of "$probe/x.bin") != application/x-tdxx-* ]] || fail "x.bin has a type of ours"
  [ "$(type_of "$probe/x.ckd")" = application/x-tdxx-ckd ] || fail "x.ckd is not a key-definition file"
  rm -rf "$probe"
fi
# Settings written by the programs in the shared folder.
"${as_root[@]}" mkdir -p /var/lib/tdxxload/Quorvane/KeysmithTDxx
ours="$(dpkg -L tdxxload-cli tdxxload | while read -r path; do [ -d "$path" ] || echo "$path"; done)"
echo "install check: both installed, $(echo "$ours" | wc -l) files"

apt_get purge tdxxload tdxxload-cli >/dev/null
for path in $ours /etc/tdxxload /var/lib/tdxxload /usr/share/doc/tdxxload /usr/share/doc/tdxxload-cli; do
  [ ! -e "$path" ] || fail "left after purge: $path"
done
dpkg-query -W -f='${Status}\n' tdxxload-cli tdxxload 2>/dev/null | grep -v not-installed &&
  fail "dpkg still knows the packages after purge"
getent group tdxxload >/dev/null || fail "purge removed the tdxxload group (it must stay)"

[ "$status" -eq 0 ] && echo "install check: installed, reconfigured and purged cleanly"
exit "$status"
