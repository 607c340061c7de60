#!/usr/bin/env bash
# Installs, from Debian's packages, what the Wine tests need and this machine
# lacks: 32-bit Wine and a virtual X display. Safe to run again.
set -euo pipefail

packages=(wine wine32:i386 wine64 xvfb xauth xdotool)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed' || missing+=("$package")
done

if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  # wine32 is an i386 package.
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
