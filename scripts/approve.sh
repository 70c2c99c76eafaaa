#!/usr/bin/env bash
# Renews the approved references under tests/data (pictures, transcripts,
# saved files) from what the tests produce now, after a deliberate change of
# the program's look or behaviour. Review the difference before committing:
#   git diff --stat tests/data; git difftool tests/data
set -euo pipefail
cd "$(dirname "$0")/.."
if [ ! -d build ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build build --target core_tests gui_tests
export QT_QPA_PLATFORM=offscreen DYNOFORGE_APPROVE=1
build/tests/core_tests --gtest_brief=1
build/tests/gui_tests --gtest_brief=1
git status --short tests/data
