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
# A minute of fuzzing (QUELLPAD_FUZZ_SECONDS). A finding fails the run, but
# CTest still runs first, so its summary stays the last line.
fuzz_status=0
bash scripts/fuzz.sh "${QUELLPAD_FUZZ_SECONDS:-60}" || fuzz_status=$?
ctest --preset native -j "$jobs"
exit "$fuzz_status"
