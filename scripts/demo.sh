#!/usr/bin/env bash
# The program's main job, end to end: builds quellpad.exe, runs it under Wine
# with a scripted two-stick session and a demo configuration, and prints the
# keyboard and mouse input it produced, with the editor's key names.
#
# Usage: bash scripts/demo.sh   (as root on Debian 12; installs what is missing)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

if [[ -z ${QP_INSIDE_XVFB:-} ]]; then
  bash "$root/scripts/setup-debian.sh"
  bash "$root/scripts/setup-wine.sh"
  (cd "$root" && cmake --preset mingw >/dev/null && cmake --build --preset mingw -j "$(nproc)" >/dev/null)
  echo "built $root/build/mingw/quellpad.exe"
  # The demo configuration is written by the native quellpad-cfg.
  (cd "$root" && cmake --preset native >/dev/null &&
     cmake --build --preset native --target quellpad-cfg -j "$(nproc)" >/dev/null)
fi

set +e
source "$root/tests/wine/harness.sh" "$root/build/mingw" "$root/build/native/tools/quellpad-cfg/quellpad-cfg"

begin demo
new_config "$cfg"
# The first stick drives the cursor keys, a few buttons and, with its d-pad,
# the mouse wheel ...
bind "$cfg" 0 32 key=39           # X+ (right): "cursor right"
bind "$cfg" 0 33 key=37           # X- (left):  "cursor left"
bind "$cfg" 0 34 key=38           # Y+ (up):    "cursor up"
bind "$cfg" 0 35 key=40           # Y- (down):  "cursor down"
bind "$cfg" 0 0 mouse=4           # button 1: left click
bind "$cfg" 0 1 text=Hi1          # button 2: types "Hi1"
bind "$cfg" 0 2 control key=323   # button 3: Control + "c"
bind "$cfg" 0 44 mouse=10         # d-pad up:    "wheel up"
bind "$cfg" 0 46 mouse=11         # d-pad down:  "wheel down"
bind "$cfg" 0 45 mouse=13         # d-pad right: "wheel right"
bind "$cfg" 0 47 key=37           # d-pad left:  "cursor left"
# ... and the second one the pointer.
bind "$cfg" 1 32 mouse=3          # X+: move right
bind "$cfg" 1 34 mouse=0          # Y+: move up

centre='x 32767 y 32767'
cat > "$script" <<SCRIPT
caps 0 buttons 4 axes 2 period 10 x 0 65535 y 0 65535 hat
caps 1 buttons 4 axes 2 period 10 x 0 65535 y 0 65535
report 0 $centre
report 0 $centre
report 0 x 65535 y 32767
report 0 x 65535 y 32767
report 0 $centre
report 0 x 32767 y 0
report 0 x 32767 y 0
report 0 $centre
report 0 $centre buttons 1
report 0 $centre buttons 0
report 0 $centre buttons 2
report 0 $centre buttons 0
report 0 $centre buttons 4
report 0 $centre buttons 0
report 0 $centre hat 0
report 0 $centre hat 65535
report 0 $centre hat 18000
report 0 $centre hat 22500
report 0 $centre hat 27000
report 0 $centre hat 65535
report 0 $centre hat 9000
report 0 $centre hat 65535
report 1 $centre
report 1 $centre
report 1 x 65535 y 32767
report 1 x 65535 y 32767
report 1 x 65535 y 32767
report 1 x 32767 y 0
report 1 x 32767 y 0
report 1 $centre
SCRIPT

echo "running the demo session under Wine ..."
start_program
wait_log '^joystick script-done port=0$' 90 && wait_log '^joystick script-done port=1$' 90 && exit_program
wait_program
timeout 60 wine "$observer" stop >/dev/null 2>&1
wait "$observer_pid" 2>/dev/null

echo
# The demo configuration leaves continuous off and delay at 1 ms.
echo "What the program sent, report by report (a stick's end: down and up within the report, 1 ms apart;"
echo "a button or d-pad direction: down when pressed, up when let go):"
timeout 60 wine "$build/tests/wine/describe.exe" "$(winpath "$log")" 2>/dev/null | tr -d '\r'
((${#problems[@]})) && printf 'problem: %s\n' "${problems[@]}" && exit 1
echo
echo "quellpad.exe ended with exit code $program_status"
