#!/usr/bin/env bash
# The style checks: clang-format (the project's .clang-format) over every C++ file, and clang-tidy
# (the project's .clang-tidy) over the program's sources with the compile lines of BUILD_DIR
# (default build, made by scripts/test.sh). Warnings are errors. Both run on all cores.
#   scripts/lint.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
jobs=$(nproc)

echo "== clang-format"
git ls-files '*.cpp' '*.h' | xargs -P "$jobs" -n 20 clang-format --dry-run --Werror

echo "== clang-tidy"
[ -f "$build/compile_commands.json" ] || { echo "lint: $build/compile_commands.json is missing (build first)" >&2; exit 1; }
# The program's sources (the toolkits' headers are system headers and stay unchecked); the tests
# and benchmarks are held to their compilers' warnings.
git ls-files 'src/*.cpp' 'gui/*.cpp' 'app/*.cpp' |
  xargs -P "$jobs" -n 8 clang-tidy -p "$build" --quiet --warnings-as-errors='*' 2>/dev/null
echo "lint: clean"
