#!/usr/bin/env bash
# Installs what is missing, builds the fuzz targets (preset "fuzz") and runs
# them for a bounded time, shared between them (scripts/fuzz-run.sh).
# Usage: scripts/fuzz.sh [SECONDS]   (default 60, or QUELLPAD_FUZZ_SECONDS)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-${QUELLPAD_FUZZ_SECONDS:-60}}

bash scripts/setup-debian.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)" >/dev/null
exec bash scripts/fuzz-run.sh build/fuzz "$seconds"
