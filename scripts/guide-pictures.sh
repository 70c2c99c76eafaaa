#!/usr/bin/env bash
# Takes the pictures of docs/user-guide.md anew from the program as it is
# (docs/guide-pictures.txt says which), after a change of its look. Review
# them before committing: git status docs/images
set -euo pipefail
cd "$(dirname "$0")/.."
if [ ! -d build ]; then
  scripts/setup.sh
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build build --target gui_tests
QT_QPA_PLATFORM=offscreen DYNOFORGE_APPROVE=1 build/tests/gui_tests --gtest_brief=1 --gtest_filter='Guide.*'
git status --short docs/images
