#!/usr/bin/env bash
# Sets up, builds and runs the main job: the calculation report of a shipped example spring.
# With arguments, runs wvelk with them in the caller's folder: relative names are the caller's,
# and the outputs land there.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
(
  cd "$root"
  scripts/setup.sh
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build -j"$(nproc)" --target wvelk
) >&2
if [ "$#" -gt 0 ]; then
  exec "$root/build/app/wvelk" "$@"
fi
mkdir -p "$root/build/out"
cd "$root/build/out"
../app/wvelk ../../share/examples/drahtfeder_dynamisch.vlk /I /NOGUI
echo "wrote $(pwd)/drahtfeder_dynamisch.txt (tab-separated report, Windows code page):"
iconv -f WINDOWS-1252 -t UTF-8 drahtfeder_dynamisch.txt | tr -d '\r' | head -60
echo "..."
