#!/usr/bin/env bash
# Builds the Release configuration with Debian's hardening flags and the two Debian packages
# (tdxxload-cli, tdxxload), then checks them:
#   - lintian --pedantic: no error, no hardening, spelling or stripping tag;
#   - every file where it belongs, in the package it belongs to;
#   - tdxxload-cli alone pulls in no toolkit: apt resolves its dependencies from an empty
#     system (an empty dpkg status) and none of what it would install is Qt or X;
#   - the metainfo passes appstreamcli validate, the packaged MIME data types no .bin file;
#   - with --install-check (as root or with sudo): both packages really installed, the
#     shared folder's mode kept over a reconfigure, and after purge no file of ours left.
# Prints the packages' paths last.
set -euo pipefail
cd "$(dirname "$0")/.."

install_check=0
[ "${1:-}" = "--install-check" ] && install_check=1

./scripts/install-deps.sh

# Debian's build flags: fortified functions, stack protector, RELRO and immediate binding.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cppflags="$(dpkg-buildflags --get CPPFLAGS)"
build=build-release
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DTDXX_BUILD_TESTS=OFF -DTDXX_BUILD_BENCH=OFF \
  -DCMAKE_C_FLAGS="$(dpkg-buildflags --get CFLAGS) $cppflags" \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $cppflags" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$build" -j"$(nproc)"
rm -f "$build"/*.deb
(cd "$build" && cpack -G DEB >/dev/null)
cli_deb="$(ls "$build"/tdxxload-cli_*.deb)"
gui_deb="$(ls "$build"/tdxxload_*.deb)"

status=0
fail() {
  echo "package: $*"
  status=1
}

# lintian: the tags named here fail the build, the others are shown.
lintian_log="$build/lintian.log"
lintian --pedantic -I --suppress-tags-from-file packaging/debian/lintian-suppressed \
  "$cli_deb" "$gui_deb" >"$lintian_log" 2>&1 || true
cat "$lintian_log"
if grep -E '^E: |hardening|spelling|strip|unneeded-section|maintainer-address' "$lintian_log"; then
  fail "lintian reports the tags above"
fi

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
for deb in "$cli_deb" "$gui_deb"; do
  name="$(dpkg-deb -f "$deb" Package)"
  dpkg-deb -x "$deb" "$scratch/$name"
  dpkg-deb -e "$deb" "$scratch/$name/DEBIAN"
done
expect_files() { # PACKAGE FILE...
  local package=$1 file
  shift
  for file in "$@"; do
    [ -e "$scratch/$package/$file" ] || fail "$package: missing /$file"
  done
}
expect_files tdxxload-cli usr/bin/tdxxload-cli usr/lib/udev/rules.d/70-tdxxload.rules \
  etc/tdxxload/Location.ini usr/share/man/man1/tdxxload-cli.1.gz \
  usr/share/doc/tdxxload-cli/copyright usr/share/doc/tdxxload-cli/changelog.gz \
  usr/share/doc/tdxxload-cli/README.md usr/share/doc/tdxxload-cli/examples/td-a-function-keys.ckd \
  usr/share/bash-completion/completions/tdxxload-cli usr/share/zsh/vendor-completions/_tdxxload-cli \
  usr/share/fish/vendor_completions.d/tdxxload-cli.fish usr/share/lintian/overrides/tdxxload-cli \
  DEBIAN/postinst DEBIAN/postrm DEBIAN/conffiles
expect_files tdxxload usr/bin/tdxxload usr/share/man/man1/tdxxload.1.gz \
  usr/share/doc/tdxxload/copyright usr/share/doc/tdxxload/changelog.gz \
  usr/share/applications/tdxxload.desktop usr/share/mime/packages/tdxxload.xml \
  usr/share/icons/hicolor/scalable/apps/tdxxload.svg \
  usr/share/metainfo/io.github.tdxxload.tdxxload.metainfo.xml
[ -e "$scratch/tdxxload-cli/usr/bin/tdxxload" ] && fail "the window program is in tdxxload-cli"
grep -qx /etc/tdxxload/Location.ini "$scratch/tdxxload-cli/DEBIAN/conffiles" ||
  fail "Location.ini is no conffile"
"$scratch/tdxxload-cli/usr/bin/tdxxload-cli" --version >/dev/null || fail "tdxxload-cli does not run"

cli_depends="$(dpkg-deb -f "$cli_deb" Depends)"
echo "tdxxload-cli Depends: $cli_depends"
echo "tdxxload-cli Suggests: $(dpkg-deb -f "$cli_deb" Suggests)"
echo "tdxxload Depends: $(dpkg-deb -f "$gui_deb" Depends)"
echo "tdxxload Recommends: $(dpkg-deb -f "$gui_deb" Recommends)"
[[ $cli_depends == *libhidapi-hidraw0* ]] || fail "tdxxload-cli does not depend on libhidapi-hidraw0"
[[ $(dpkg-deb -f "$gui_deb" Depends) == *"tdxxload-cli (= "* ]] || fail "tdxxload does not depend on tdxxload-cli"
[[ $(dpkg-deb -f "$cli_deb" Suggests) == *udisks2* ]] || fail "tdxxload-cli does not suggest udisks2"
[[ $(dpkg-deb -f "$gui_deb" Recommends) == *udisks2* ]] || fail "tdxxload does not recommend udisks2"

# What `apt install ./tdxxload-cli_*.deb` would install on a system that has nothing yet: the
# whole closure of its dependencies, from Debian's package lists. None of it may be a toolkit.
if [ -z "$(ls /var/lib/apt/lists/*Packages* 2>/dev/null)" ]; then
  if [ "$(id -u)" -eq 0 ]; then apt-get update -qq; else sudo apt-get update -qq; fi
fi
empty_status="$scratch/empty-status"
: >"$empty_status"
closure="$(apt-get install --simulate -o Dir::State::status="$empty_status" \
  -o APT::Install-Recommends=false "./$cli_deb" 2>/dev/null | sed -n 's/^Inst \([^ ]*\) .*/\1/p')"
[ -n "$closure" ] || fail "apt could not resolve tdxxload-cli's dependencies"
echo "tdxxload-cli on an empty system installs $(echo "$closure" | wc -l) packages"
if echo "$closure" | grep -E '^(libqt|qt6|qt5|libx11|libxcb|libgl|libegl|libwayland|libgtk|libxkb)'; then
  fail "tdxxload-cli pulls in the toolkit packages above"
fi

metainfo="$scratch/tdxxload/usr/share/metainfo/io.github.tdxxload.tdxxload.metainfo.xml"
appstreamcli validate --no-net "$metainfo" || fail "the metainfo does not validate"
desktop-file-validate "$scratch/tdxxload/usr/share/applications/tdxxload.desktop" ||
  fail "the desktop entry does not validate"
tests/packaging/mime-test.sh "$scratch/tdxxload" || fail "the packaged MIME data types a .bin file"

if [ "$install_check" -eq 1 ]; then
  scripts/package-install-check.sh "$cli_deb" "$gui_deb" || fail "the install check failed"
fi

[ "$status" -eq 0 ] && echo "package: all checks passed"
echo "$cli_deb"
echo "$gui_deb"
exit "$status"
