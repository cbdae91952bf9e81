#!/usr/bin/env bash
# Sets up, builds and runs the main job: the JSON results of a shipped example spring.
# With arguments, runs wvelk with them instead.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target wvelk
if [ "$#" -gt 0 ]; then
  exec build/app/wvelk "$@"
fi
mkdir -p build/out
cd build/out
../app/wvelk ../../share/examples/drahtfeder_dynamisch.vlk /JSON /NOGUI
echo "wrote $(pwd)/drahtfeder_dynamisch.json:"
head -c 1200 drahtfeder_dynamisch.json
echo "..."
