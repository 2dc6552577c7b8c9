#!/usr/bin/env bash
# Builds and runs the whole test suite: the normal build, the sanitizer build, then each fuzz
# target for a fixed number of inputs from its seeds.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
for preset in dev asan; do
  echo "=== $preset build ==="
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done
echo "=== fuzz targets ==="
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
ctest --preset fuzz
