#!/usr/bin/env bash
# Sets up a Debian 12 machine as needed, builds Dynoforge and runs every test
# headless: the whole suite, again under a German locale, and the core tests
# under AddressSanitizer and UndefinedBehaviorSanitizer.
#
#   --no-sanitize      skip the sanitizer build
#   --sanitize-all     run the widget tests under the sanitizers too
set -euo pipefail
cd "$(dirname "$0")/.."

sanitize=core
for arg in "$@"; do
  case "$arg" in
    --no-sanitize) sanitize=none ;;
    --sanitize-all) sanitize=all ;;
    *) echo "unknown option: $arg" >&2; exit 2 ;;
  esac
done

scripts/setup.sh

export QT_QPA_PLATFORM=offscreen
export CTEST_OUTPUT_ON_FAILURE=1
jobs=$(nproc)

echo "== Build"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDYNOFORGE_WERROR=ON >/dev/null
cmake --build build

echo "== Tests"
ctest --test-dir build -j "$jobs" --timeout 300

echo "== Tests under de_DE.UTF-8"
LC_ALL=de_DE.UTF-8 ctest --test-dir build -j "$jobs" --timeout 300

if [ "$sanitize" != none ]; then
  echo "== Tests under AddressSanitizer + UndefinedBehaviorSanitizer ($sanitize)"
  with_qt=OFF
  if [ "$sanitize" = all ]; then with_qt=ON; fi
  cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DDYNOFORGE_SANITIZE=ON \
    -DDYNOFORGE_WITH_QT="$with_qt" -DDYNOFORGE_WERROR=ON >/dev/null
  cmake --build build-asan
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-asan -j "$jobs" --timeout 600
fi

echo "== All tests passed"
