#!/usr/bin/env bash
# Builds the core and its tests for 64-bit Windows with MinGW-w64 and runs
# them under Wine, headless. The file pairs among them compare every file
# the Windows build saves with the approved one that the Linux build saves
# too, byte for byte. Installs only the packages that are missing;
# GoogleTest for Windows and the Wine prefix are made once and kept.
#
#   scripts/windows-tests.sh [-- GTEST_ARGS...]
#
# Ends with "windows: N passed, N failed, N skipped" (each skip with its
# reason above); fails on a failed test or a crash.
#
# Settings (environment):
#   DYNOFORGE_WIN_BUILD      build folder (default build-win)
#   DYNOFORGE_WIN_CACHE      where GoogleTest for Windows and the Wine prefix
#                            are kept (default ${XDG_CACHE_HOME:-~/.cache}/dynoforge-win)
#   DYNOFORGE_WIN_TIMEOUT    seconds the tests may run (default 600)
set -euo pipefail
cd "$(dirname "$0")/.."

gtest_args=()
for arg in "$@"; do
  case "$arg" in
    --) ;;
    *) gtest_args+=("$arg") ;;
  esac
done

# Installs only what is missing: the MinGW-w64 compilers, Wine, GoogleTest's
# sources.
scripts/setup.sh --windows

build=${DYNOFORGE_WIN_BUILD:-build-win}
cache=${DYNOFORGE_WIN_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/dynoforge-win}
timeout_seconds=${DYNOFORGE_WIN_TIMEOUT:-600}
target=core_tests
toolchain=$PWD/cmake/mingw-w64-x86_64.cmake
mkdir -p "$build" "$cache"
build=$(cd "$build" && pwd)
cache=$(cd "$cache" && pwd)
gtest_prefix=$cache/gtest-install
wine_prefix=$cache/wineprefix

# One run at a time per cache: a second run would boot the same prefix or
# wait on the first run's Wine server.
exec 9>"$cache/lock"
flock 9

seconds() { date +%s; }
step_start=$(seconds)
step_done() {
  local now
  now=$(seconds)
  echo "   ($1: $((now - step_start)) s)"
  step_start=$now
}

wine=$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
# Wine never waits for a person here: no display to show a dialog on, no
# offer to install Mono or Gecko, no debug channels on stderr. Its debugger
# stays off: attached to a crashed program it makes the exit code 0 about
# every other time.
unset DISPLAY WAYLAND_DISPLAY
export WINEPREFIX=$wine_prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"

# GoogleTest for Windows, from Debian's sources, rebuilt only when the
# sources, the compiler, the toolchain file or these settings change. Built
# as C++20 like the project; without GoogleMock, which the tests do not use.
gtest_settings=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_STANDARD=20 -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON)
gtest_stamp="googletest $(dpkg-query -W -f='${Version}' googletest)"
gtest_stamp+=" mingw $(dpkg-query -W -f='${Version}' g++-mingw-w64-x86-64-posix)"
gtest_stamp+=" toolchain $(sha256sum "$toolchain" | cut -c1-16) ${gtest_settings[*]}"
if [ "$(cat "$gtest_prefix/stamp" 2>/dev/null)" != "$gtest_stamp" ]; then
  echo "== GoogleTest for Windows"
  rm -rf "$gtest_prefix" "$build/gtest-build"
  cmake -S /usr/src/googletest -B "$build/gtest-build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    "${gtest_settings[@]}" -DCMAKE_INSTALL_PREFIX="$gtest_prefix" >/dev/null
  cmake --build "$build/gtest-build" >/dev/null
  cmake --install "$build/gtest-build" >/dev/null
  rm -rf "$build/gtest-build"
  echo "$gtest_stamp" >"$gtest_prefix/stamp"
  step_done "GoogleTest"
fi

# A new prefix boots while the tests compile.
# The mark is written last, so a boot that was cut short is done again.
boot_pid=
wine_ready=$wine_prefix/dynoforge-ready
if [ ! -f "$wine_ready" ]; then
  echo "== Wine prefix $wine_prefix"
  rm -rf "$wine_prefix"
  ( "$wine" wineboot --init && "$wineserver" -w && touch "$wine_ready" ) </dev/null >"$build/wineboot.log" 2>&1 &
  boot_pid=$!
fi

# -O2 as in the Linux build, so -Werror meets the same warnings (GCC 12's -O3
# adds false -Wrestrict ones), and no debug information, a fifth less work.
echo "== Build the core and $target for Windows"
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DCMAKE_FIND_ROOT_PATH="$gtest_prefix" -DCMAKE_PREFIX_PATH="$gtest_prefix" \
  -DDYNOFORGE_WINEPREFIX="$wine_prefix" \
  -DDYNOFORGE_WITH_QT=OFF -DDYNOFORGE_TESTS=ON -DDYNOFORGE_WERROR=ON >/dev/null
cmake --build "$build" --target "$target"
step_done "build"

if [ -n "$boot_pid" ]; then
  if ! wait "$boot_pid" || [ ! -f "$wine_ready" ]; then
    cat "$build/wineboot.log" >&2
    echo "Wine could not make its prefix in $wine_prefix" >&2
    exit 1
  fi
  step_done "Wine prefix"
fi

# Runs a Windows program from its folder under a time limit; its output goes
# to a log with the CR LF line ends of the C runtime's text mode made LF.
# Wine's server stays up for the next program; it ends 3 s after the last.
run_windows() {
  local log=$1 exe=$2
  shift 2
  local status=0
  (cd "$(dirname "$exe")" && timeout --kill-after=10 "$timeout_seconds" "$wine" "$exe" "$@") \
    </dev/null >"$log" 2>&1 || status=$?
  if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then "$wineserver" -k || true; fi
  sed -i 's/\r$//' "$log"
  return "$status"
}

echo "== $target under $("$wine" --version)"
exe=$build/tests/$target.exe
log=$build/$target.log
status=0
run_windows "$log" "$exe" ${gtest_args[@]+"${gtest_args[@]}"} || status=$?

# Everything but the lines of each passing case: failures with their
# messages, skips with their reasons, the summary. The SKIPPED list at the
# end gets each test's reason appended.
awk '
  /^\[ RUN      \]/ || /^\[       OK \]/ || /^\[----------\]/ || /^Running main\(\)/ || /^$/ { next }
  /: Skipped$/ { skipping = 1; reason = ""; next }
  skipping && /^\[  SKIPPED \] .* \([0-9]+ ms\)$/ {
    name = $0; sub(/^\[  SKIPPED \] /, "", name); sub(/ \([0-9]+ ms\)$/, "", name)
    why[name] = reason == "" ? "(no reason given)" : reason; skipping = 0; next
  }
  skipping { reason = reason == "" ? $0 : reason " " $0; next }
  /^\[==========\] .* ran\./ { summary = 1 }
  summary && /^\[  SKIPPED \] [^0-9]/ {
    name = substr($0, 14); print $0 ": " (name in why ? why[name] : "(no reason given)"); next
  }
  summary || !/^\[/ || /^\[  FAILED  \]/ { print }
' "$log"

ran=$(sed -n 's/^\[==========\] \([0-9]*\) tests\{0,1\} from .* ran\..*/\1/p' "$log" | tail -n 1)
passed=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\{0,1\}\..*/\1/p' "$log" | tail -n 1)
skipped=$(sed -n 's/^\[  SKIPPED \] \([0-9]*\) tests\{0,1\}, listed below:.*/\1/p' "$log" | tail -n 1)
failed=$(sed -n 's/^\[  FAILED  \] \([0-9]*\) tests\{0,1\}, listed below:.*/\1/p' "$log" | tail -n 1)
last_started=$(sed -n 's/^\[ RUN      \] //p' "$log" | tail -n 1)
problem=
if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
  problem="$target did not finish within $timeout_seconds s, last started: ${last_started:-none} (log: $log)"
elif [ -z "$ran" ]; then
  # No summary: the program ended inside a test or before the first. A crash
  # gives the low byte of the exception code: 5 for an access violation.
  problem="$target ended during ${last_started:-its start}, exit code $status (log: $log)"
elif [ "$status" -ne 0 ]; then
  problem="$target failed with exit code $status (log: $log)"
elif [ "$ran" -eq 0 ]; then
  problem="$target ran no test (log: $log)"
elif [ -n "$failed" ]; then
  problem="$target reported failures but exited 0 (log: $log)"
fi

# Wine's own processes end with its server.
"$wineserver" -w || true

echo "windows: ${passed:-0} passed, ${failed:-0} failed, ${skipped:-0} skipped"
if [ -n "$problem" ]; then
  echo "$problem" >&2
  exit 1
fi
