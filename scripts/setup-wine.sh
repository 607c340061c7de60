#!/usr/bin/env bash
# Installs, from Debian's packages, what the Wine tests need and this machine
# lacks: 32-bit Wine and a virtual X display. Safe to run again.
set -euo pipefail
source "$(dirname "$0")/install-missing.sh"

install_missing wine wine32:i386 wine64 xvfb xauth xdotool
