#!/usr/bin/env bash
# Prints the path of Wine's own 32-bit winmm.dll, which the joystick double
# forwards every other call to. Asks the package that holds it first, then
# looks in the folders where Wine builds put their 32-bit DLLs.
# Usage: find-wine-winmm.sh   (exit status 1 when there is none)
set -uo pipefail
found=$(dpkg -L libwine:i386 2>/dev/null | grep -m1 '/i386-windows/winmm\.dll$')
if [[ -z $found ]]; then
  for dir in /usr/lib/i386-linux-gnu/wine /usr/lib32/wine /usr/lib/wine /usr/local/lib/wine /opt/wine*/lib/wine; do
    [[ -d $dir ]] || continue
    found=$(find "$dir" -path '*/i386-windows/winmm.dll' -print -quit 2>/dev/null)
    [[ -n $found ]] && break
  done
fi
[[ -n $found && -f $found ]] || { echo "Wine's 32-bit winmm.dll not found: run scripts/setup-wine.sh" >&2; exit 1; }
echo "$found"
