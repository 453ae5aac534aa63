#!/usr/bin/env bash
# Builds the Release configuration and the Debian package, checks the package with lintian
# (when installed), unpacks it into a scratch root and checks that every file is where it
# belongs. Prints the package's path last.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh

build=build-release
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DTDXX_BUILD_TESTS=OFF -DTDXX_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"
rm -f "$build"/tdxxload_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb="$(ls "$build"/tdxxload_*.deb)"

if command -v lintian >/dev/null 2>&1; then
  # Errors fail the build; warnings are shown.
  lintian --fail-on error --suppress-tags-from-file packaging/debian/lintian-suppressed "$deb"
fi

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
dpkg-deb -x "$deb" "$scratch"
dpkg-deb -e "$deb" "$scratch/DEBIAN"
status=0
for file in usr/bin/tdxxload usr/bin/tdxxload-cli usr/lib/udev/rules.d/70-tdxxload.rules \
  etc/tdxxload/Location.ini usr/share/man/man1/tdxxload.1.gz usr/share/man/man1/tdxxload-cli.1.gz \
  usr/share/doc/tdxxload/copyright usr/share/doc/tdxxload/changelog.gz \
  usr/share/applications/tdxxload.desktop usr/share/mime/packages/tdxxload.xml \
  usr/share/icons/hicolor/scalable/apps/tdxxload.svg DEBIAN/postinst DEBIAN/postrm DEBIAN/conffiles; do
  if [ ! -e "$scratch/$file" ]; then
    echo "package: missing /$file"
    status=1
  fi
done
grep -qx /etc/tdxxload/Location.ini "$scratch/DEBIAN/conffiles" || { echo "package: Location.ini is no conffile"; status=1; }
grep -q libhidapi-hidraw0 "$scratch/DEBIAN/control" || { echo "package: no dependency on libhidapi-hidraw0"; status=1; }
"$scratch/usr/bin/tdxxload-cli" --version >/dev/null || { echo "package: tdxxload-cli does not run"; status=1; }
[ "$status" -eq 0 ] && echo "package: all files in place"
echo "$deb"
exit "$status"
