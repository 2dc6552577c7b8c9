#!/usr/bin/env bash
# Runs one fuzz target for a chosen time, keeping what it finds in build/fuzz/fuzz/found/TARGET.
# Usage: scripts/fuzz.sh TARGET SECONDS [libFuzzer options...]
#   TARGET: fuzz-detail-level, fuzz-module-data or fuzz-project-file
# An input that breaks a property is written as crash-*/leak-* in the current folder; once
# fixed, add it to fuzz/corpus/TARGET so the test suite keeps trying it.
set -euo pipefail
if (($# < 2)); then
  echo "usage: $0 TARGET SECONDS [libFuzzer options...]" >&2
  exit 2
fi
target=$1
seconds=$2
shift 2
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target "$target"
found=build/fuzz/fuzz/found/$target
mkdir -p "$found"
exec "build/fuzz/bin/$target" -max_total_time="$seconds" -max_len=8192 -print_final_stats=1 "$@" \
  "$found" "build/fuzz/fuzz/seeds/$target"
