#!/usr/bin/env bash
# Sets up a Debian 12 machine as needed, builds Dynoforge and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target dynoforge
exec build/dynoforge "$@"
