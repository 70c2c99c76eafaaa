#!/usr/bin/env bash
# Sets up a Debian 12 machine as needed, builds Dynoforge and runs every test
# headless: the whole suite, again under a German locale, the core's platform
# tests built for Windows and run under Wine, the core tests under
# AddressSanitizer and UndefinedBehaviorSanitizer, and a short run of each
# fuzz target under both.
#
#   --no-windows       skip the Windows build and its tests under Wine
#   --no-sanitize      skip the sanitizer build
#   --sanitize-all     run the widget tests under the sanitizers too
#   --no-fuzz          skip the fuzzing run
#   --fuzz-seconds=N   fuzz each target N seconds (default 30)
set -euo pipefail
cd "$(dirname "$0")/.."

sanitize=core
windows=yes
fuzz_seconds=30
for arg in "$@"; do
  case "$arg" in
    --no-windows) windows=no ;;
    --no-sanitize) sanitize=none ;;
    --sanitize-all) sanitize=all ;;
    --no-fuzz) fuzz_seconds=0 ;;
    --fuzz-seconds=*) fuzz_seconds="${arg#*=}" ;;
    *) echo "unknown option: $arg" >&2; exit 2 ;;
  esac
done
case "$fuzz_seconds" in
  ''|*[!0-9]*) echo "--fuzz-seconds needs a whole number" >&2; exit 2 ;;
esac

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

if [ "$windows" = yes ]; then
  # GoogleTest for Windows and the Wine prefix are kept in
  # ${XDG_CACHE_HOME:-~/.cache}/dynoforge-win, for every clone on the machine.
  echo "== The core for Windows (MinGW-w64), its tests under Wine"
  scripts/windows-tests.sh
fi

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

if [ "$fuzz_seconds" -gt 0 ]; then
  echo "== Fuzzing, ${fuzz_seconds} s per target (libFuzzer, AddressSanitizer + UndefinedBehaviorSanitizer)"
  cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DDYNOFORGE_FUZZ=ON \
    -DDYNOFORGE_TESTS=OFF -DDYNOFORGE_WITH_QT=OFF -DDYNOFORGE_WERROR=ON >/dev/null
  cmake --build build-fuzz
  mkdir -p build-fuzz/crashes
  for target in round_trip table_paste; do
    # The inputs found are kept in build-fuzz/corpus and grow from run to
    # run; the seeds in tests/fuzz/corpus are only read.
    mkdir -p "build-fuzz/corpus/$target"
    log="build-fuzz/$target.log"
    dict=tests/fuzz/dynoforge.dict
    if [ "$target" = table_paste ]; then dict=tests/fuzz/tables.dict; fi
    if ! ASAN_OPTIONS=detect_leaks=1 build-fuzz/tests/fuzz/${target}_fuzz \
        -max_total_time="$fuzz_seconds" -timeout=10 -print_final_stats=1 \
        -dict="$dict" -artifact_prefix="build-fuzz/crashes/$target-" \
        "build-fuzz/corpus/$target" "tests/fuzz/corpus/$target" >"$log" 2>&1; then
      tail -n 60 "$log"
      echo "fuzzing $target failed; the input is in build-fuzz/crashes/ (log: $log)" >&2
      exit 1
    fi
    echo "$target: $(sed -n 's/^stat::number_of_executed_units: *//p' "$log") inputs, no failure"
  done
fi

echo "== All tests passed"
