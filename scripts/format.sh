#!/usr/bin/env bash
# Formats every C++ file git tracks with the project's clang-format style, or with --check
# lists the files that differ from it and fails.
# Usage: scripts/format.sh [--check]
set -euo pipefail
cd "$(dirname "$0")/.."
format=clang-format-14
command -v "$format" >/dev/null || { echo "$format is missing: sudo apt-get install clang-format-14" >&2; exit 2; }
mapfile -t files < <(git ls-files '*.cpp' '*.hpp' '*.h')
if [[ ${1:-} == --check ]]; then
  if ! report=$("$format" --style=file --dry-run -Werror "${files[@]}" 2>&1); then
    grep -o '^[^:]*\.[ch]pp\?:' <<<"$report" | tr -d ':' | sort -u
    exit 1
  fi
else
  "$format" --style=file -i "${files[@]}"
fi
