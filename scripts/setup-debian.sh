#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the builds and the native tests
# need and this machine lacks. Safe to run again: it only installs what is missing.
set -euo pipefail
source "$(dirname "$0")/install-missing.sh"

install_missing cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev \
  g++-mingw-w64-i686-win32 binutils-mingw-w64-i686 \
  clang libclang-rt-dev \
  libtomlplusplus-dev libcli11-dev
