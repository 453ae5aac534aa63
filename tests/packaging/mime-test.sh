#!/usr/bin/env bash
# The installed MIME data types our key-definition and firmware files, in any letter case, and
# nothing else: a file named .bin (a program, a picture, an archive, or our own flash-drive copy)
# keeps whatever type the system gives it without us. The desktop component is installed into
# a scratch prefix, its database built there and the types asked of GIO as the file manager does.
# Usage: mime-test.sh BUILD-FOLDER | UNPACKED-PACKAGE-ROOT
# (exit 77: update-mime-database or gio missing)
set -uo pipefail
shopt -s extglob
from=$1
for tool in update-mime-database gio; do
    command -v $tool >/dev/null || { echo "$tool not installed: skipped"; exit 77; }
done
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
if [ -f "$from/CMakeCache.txt" ]; then
    cmake --install "$from" --prefix "$scratch/usr" --component desktop >/dev/null || exit 1
else
    mkdir -p "$scratch/usr/share" && cp -r "$from/usr/share/mime" "$scratch/usr/share/" || exit 1
fi
[ -f "$scratch/usr/share/mime/packages/tdxxload.xml" ] || { echo "FAIL: no MIME file installed"; exit 1; }
update-mime-database "$scratch/usr/share/mime" >/dev/null 2>&1 || exit 1

type_of() {
    XDG_DATA_HOME="$scratch/home" XDG_DATA_DIRS="$scratch/usr/share:/usr/share" \
        gio info -a standard::content-type "$1" | sed -n 's/^ *standard::content-type: //p'
}
failures=0
expect() { # FILE TYPE-PATTERN
    local type
    type=$(type_of "$scratch/$1")
    # shellcheck disable=SC2053
    [[ $type == $2 ]] || { echo "FAIL: $1 is $type, expected $2"; failures=$((failures + 1)); }
}

printf '[GLOBAL]\r\n' >"$scratch/keys.ckd"
printf '[GLOBAL]\r\n' >"$scratch/KEYS.CKD"
printf 'TDA 1.70\r\n' >"$scratch/firmware.upg"
cp "$(command -v gio)" "$scratch/program.bin"
printf '\211PNG\r\n\032\n\0\0\0\rIHDR\0\0\0\1\0\0\0\1\10\2\0\0\0' >"$scratch/picture.bin"
printf 'PK\3\4\24\0\0\0\0\0' >"$scratch/archive.bin"
head -c 4096 /dev/zero >"$scratch/x.bin"

expect keys.ckd application/x-tdxx-ckd
expect KEYS.CKD application/x-tdxx-ckd
expect firmware.upg application/x-tdxx-upg
for file in program.bin picture.bin archive.bin x.bin; do
    expect $file '!(application/x-tdxx-*)'
done
[ "$failures" -eq 0 ] && echo "mime: .ckd and .upg are ours, no .bin is"
exit $((failures > 0))
