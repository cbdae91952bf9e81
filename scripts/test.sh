#!/usr/bin/env bash
# Sets up, builds and runs every test (the README's test command).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
LC_ALL=C.UTF-8 ctest --test-dir build --output-on-failure -j"$(nproc)"
