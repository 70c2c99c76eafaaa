#!/usr/bin/env bash
# Installs what building and testing Dynoforge needs on Debian 12, and only
# what is missing: a second run installs nothing.
#
#   --windows   also what building the core for Windows and running its
#               tests under Wine needs (scripts/windows-tests.sh)
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev
  libgtest-dev libgmock-dev
  fonts-liberation fontconfig locales
  clang libclang-rt-14-dev
  poppler-utils
  desktop-file-utils shared-mime-info dpkg-dev
)
for arg in "$@"; do
  case "$arg" in
    # wine64 alone is enough: its loader is /usr/lib/wine/wine64, and without
    # recommends no wine32 or i386 package comes along. googletest holds the
    # sources that are built for Windows.
    --windows) packages+=(g++-mingw-w64-x86-64-posix wine64 googletest) ;;
    *) echo "unknown option: $arg" >&2; exit 2 ;;
  esac
done

sudo=()
if [ "$(id -u)" -ne 0 ]; then sudo=(sudo); fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
fi

# The tests also run under a German locale, which writes 1000,5 for 1000.5.
if ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
  echo "Generating the de_DE.UTF-8 locale"
  "${sudo[@]}" localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
