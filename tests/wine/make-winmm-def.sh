#!/usr/bin/env bash
# Writes winmm.def for the joystick test double: the five joystick calls the
# double answers itself (exported without their stdcall decoration), and
# every other named export of Wine's winmm forwarded to the copy that sits
# beside it as winmm_real.dll.
# Usage: make-winmm-def.sh [wine-winmm.dll] > winmm.def
set -euo pipefail
real=${1:-$(bash "$(dirname "$0")/find-wine-winmm.sh")}
own=(joyGetNumDevs=joyGetNumDevs@0 joyGetDevCapsA=joyGetDevCapsA@12 joySetCapture=joySetCapture@16
     joyReleaseCapture=joyReleaseCapture@4 joyGetPosEx=joyGetPosEx@8)

echo "LIBRARY winmm.dll"
echo "EXPORTS"
for name in "${own[@]}"; do echo "  $name"; done
i686-w64-mingw32-objdump -p "$real" |
  sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
  awk 'NR > 1 && NF >= 3 { print $3 }' |
  grep -vxF -f <(printf "%s\n" "${own[@]%%=*}") |
  while read -r name; do echo "  $name=winmm_real.$name"; done
