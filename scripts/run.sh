#!/usr/bin/env bash
# Sets up, builds and runs the main job on a shipped example spring.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target wvelk
if [ "$#" -eq 0 ]; then set -- "?"; fi
build/app/wvelk "$@"
