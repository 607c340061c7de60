#!/usr/bin/env bash
# Sets up what is missing, builds every target and the release package, and
# runs every test: the native suite under the sanitizers, a minute of fuzzing
# and the Windows program under Wine, all in one CTest run (test preset
# "all"), whose summary is the last line printed. `ctest --preset native`
# alone runs only the fast suite.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup-debian.sh
bash scripts/setup-wine.sh

jobs=$(nproc)
cmake --preset mingw >/dev/null
cmake --build --preset mingw -j "$jobs"
cmake --build --preset mingw --target package >/dev/null   # build/mingw/quellpad-<version>-win32.zip
cmake --preset bench >/dev/null
cmake --build --preset bench -j "$jobs"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs"
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
ctest --preset all -j "$jobs"
