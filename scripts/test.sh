#!/usr/bin/env bash
# Sets up what is missing, builds every target and runs the whole test suite.
# The last line it prints is CTest's summary.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup-debian.sh

jobs=$(nproc)
cmake --preset mingw >/dev/null
cmake --build --preset mingw -j "$jobs"
cmake --preset bench >/dev/null
cmake --build --preset bench -j "$jobs"
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
ctest --preset native -j "$jobs"
