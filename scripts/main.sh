#!/usr/bin/env bash
# Builds everything and runs the reference host on the bundled sample project.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset dev >/dev/null
cmake --build --preset dev
exec build/dev/bin/facetally-host --addons build/dev/addons examples/sample-project.json "$@"
