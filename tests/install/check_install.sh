#!/usr/bin/env bash
# Installs a build into a temporary prefix and checks what a desktop takes
# from it: the program, a desktop entry that desktop-file-utils accept and
# index, the icon at each hicolor size, the user guide with its pictures,
# and the tire file type, compiled by shared-mime-info as the dpkg triggers
# do.
#
#   tests/install/check_install.sh BUILD_DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
# Hex of COUNT bytes of FILE from OFFSET.
hex() { od -An -tx1 -j "$2" -N "$3" "$1" | tr -d ' \n'; }

cmake --install "$build" --prefix "$prefix" >/dev/null

program=$prefix/bin/dynoforge
if [ ! -x "$program" ] || [ "$(hex "$program" 0 4)" != 7f454c46 ]; then
  fail "bin/dynoforge is not an executable ELF file"
fi

entry=$prefix/share/applications/dynoforge.desktop
[ -f "$entry" ] || { echo "FAIL: no share/applications/dynoforge.desktop" >&2; exit 1; }
# desktop-file-validate exits 0 on hints; a clean entry prints nothing at all.
validation=$(desktop-file-validate "$entry" 2>&1) || true
[ -z "$validation" ] || fail "desktop-file-validate: $validation"
key() { sed -n "s/^$1=//p" "$entry"; }
[ "$(key Name)" = Dynoforge ] || fail "Name is '$(key Name)'"
[ "$(key Exec)" = "dynoforge %f" ] || fail "Exec is '$(key Exec)'"
[ -x "$prefix/bin/$(key Exec | cut -d' ' -f1)" ] || fail "Exec names no installed program"
# Every text file is text/plain: claiming it would offer, or even make,
# Dynoforge the editor of all of them.
case ";$(key MimeType)" in
  *";text/plain;"*) fail "the entry claims text/plain" ;;
esac

icon=$(key Icon)
for size in 16 22 24 32 48 64 128 256; do
  png=$prefix/share/icons/hicolor/${size}x${size}/apps/$icon.png
  if [ ! -f "$png" ]; then
    fail "no ${size}x${size} icon"
  elif [ "$(hex "$png" 0 8)" != 89504e470d0a1a0a ]; then
    fail "the ${size}x${size} icon is not a PNG file"
  else
    # The IHDR chunk, first in the file, holds width and height.
    expected=$(printf '%08x%08x' "$size" "$size")
    [ "$(hex "$png" 16 8)" = "$expected" ] || fail "the ${size}x${size} icon is $((16#$(hex "$png" 16 4))) x $((16#$(hex "$png" 20 4)))"
  fi
done

# The user guide, where the program looks for it beside bin/, with every
# picture it shows.
guide=$prefix/share/dynoforge/guide
if [ ! -f "$guide/user-guide.md" ]; then
  fail "no share/dynoforge/guide/user-guide.md"
else
  for picture in $(grep -o '](images/[^)]*)' "$guide/user-guide.md" | sed 's/^](//; s/)$//'); do
    [ "$(hex "$guide/$picture" 0 8 2>/dev/null)" = 89504e470d0a1a0a ] || fail "the guide's $picture is missing"
  done
fi

# What the shared-mime-info and desktop-file-utils triggers do on the
# installed files.
mime=$prefix/share/mime
messages=$(XDG_DATA_DIRS=$prefix/share update-mime-database "$mime" 2>&1) || fail "update-mime-database failed: $messages"
[ -z "$messages" ] || fail "update-mime-database: $messages"
globs=$(grep -v '^#' "$mime/globs2" 2>/dev/null | cut -d: -f2- | sort | tr '\n' ' ')
[ "$globs" = "application/x-dynoforge-tire:*.tbc " ] || fail "the MIME globs are: $globs"
grep -qx 'application/x-dynoforge-tire text/plain' "$mime/subclasses" 2>/dev/null ||
  fail "the tire type is not a kind of text/plain"
update-desktop-database "$prefix/share/applications"
grep -qx 'application/x-dynoforge-tire=dynoforge.desktop;' "$prefix/share/applications/mimeinfo.cache" ||
  fail "the desktop entry does not open the tire type"

if [ "$failures" -gt 0 ]; then exit 1; fi
echo "installed and checked: $(cd "$prefix" && find . -type f | wc -l) files"
