#!/usr/bin/env bash
# Builds the Debian package of a build with CPack in a temporary folder and
# checks its name, its control fields and that it holds the installed files.
#
#   tests/install/check_package.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$out" >"$out/cpack.log" 2>&1; then
  cat "$out/cpack.log" >&2
  exit 1
fi
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
arch=$(dpkg --print-architecture)
deb=$out/dynoforge_${version}_${arch}.deb
if [ ! -f "$deb" ]; then
  echo "FAIL: no dynoforge_${version}_${arch}.deb; CPack made: $(cd "$out" && ls -- *.deb 2>/dev/null)" >&2
  exit 1
fi

info=$(dpkg-deb --info "$deb")
field() { sed -n "s/^ $1: //p" <<<"$info"; }
[ "$(field Package)" = dynoforge ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)'"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture is '$(field Architecture)'"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
depends=$(field Depends)
# The package names alone, one a line, without their versions.
names=$(tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//')
for package in libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libqt6svg6 libstdc++6 libc6 fonts-liberation; do
  grep -qxF "$package" <<<"$names" || fail "Depends lacks $package: $depends"
done

contents=$(dpkg-deb --contents "$deb" | awk '{ print $6 }')
for file in usr/bin/dynoforge usr/share/applications/dynoforge.desktop usr/share/mime/packages/dynoforge.xml \
    usr/share/icons/hicolor/{16x16,22x22,24x24,32x32,48x48,64x64,128x128,256x256}/apps/dynoforge.png \
    usr/share/dynoforge/guide/user-guide.md usr/share/dynoforge/guide/images/engine.png; do
  grep -qx "./$file" <<<"$contents" || fail "the package lacks /$file"
done

if [ "$failures" -gt 0 ]; then exit 1; fi
echo "$(basename "$deb"): Depends: $depends"
