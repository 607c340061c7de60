#!/usr/bin/env bash
# End-to-end cases for quellpad.exe under Wine. Each case runs the real
# program in a fresh 32-bit prefix on a virtual X display, with a scripted
# joystick and the observer (see harness.sh). The observed log, cut down to
# its stable lines, must equal the expected lines.
#
# Usage: tests/wine/run.sh [BUILD_DIR [QUELLPAD_CFG]]   (default build/mingw
#        and build/native/tools/quellpad-cfg/quellpad-cfg; build them first
#        with: cmake --preset mingw && cmake --build --preset mingw, and
#        cmake --preset native && cmake --build --preset native)
# Prints PASS or FAIL (with a diff) per case, then "N passed, M failed".
# Exit status: 0 when all passed, 1 when any failed, 2 when it could not run.
source "$(dirname "$0")/harness.sh"

# --- cases -------------------------------------------------------------------

case_no_joystick_driver() {
  begin no-joystick-driver
  # No configuration file either: it must not even be looked for.
  echo 'devices 0' > "$script"
  start_program
  wait_program
  check <<'EOF'
joystick devices count=0
box caption="ERROR!" text="no game-device installed"
program exit=0
EOF
}

case_both_captures_fail() {
  begin both-captures-fail
  # No configuration file: its message comes before the capture's.
  printf '%s\n' "$stick0" "$stick1" 'capture 0 fail' 'capture 1 fail' > "$script"
  start_program
  wait_program
  check <<'EOF'
joystick devices count=16
box caption="error" text="config file could not be opened\nplease configure first"
joystick capture port=0 period=10 changed=0 result=166
joystick capture port=1 period=10 changed=0 result=166
box caption="ERROR!" text="could not capture game-device"
program exit=0
EOF
}

# One stick, on either port: it runs, its own bindings fire, and only the
# captured port is released.
case_only_port_0() {
  begin only-port-0
  new_config "$cfg"
  bind "$cfg" 0 0 key=38
  bind "$cfg" 1 0 key=40
  printf '%s\n' "$stick0" 'report 0' 'report 0 buttons 1' 'report 0 buttons 0' > "$script"
  run_script_then_exit
  check <<EOF
$start0
joystick read port=0 report=1
joystick read port=0 report=2
key down vk=38 scan=0 ext=0
joystick read port=0 report=3
key up vk=38 scan=0 ext=0
$end0
EOF
}

case_only_port_1() {
  begin only-port-1
  new_config "$cfg"
  bind "$cfg" 0 0 key=38
  bind "$cfg" 1 0 key=40
  printf '%s\n' "$stick1" 'report 1' 'report 1 buttons 1' 'report 1 buttons 0' > "$script"
  start_program
  wait_log '^joystick script-done port=1$' && exit_program
  timeout 90 wine "$observer" wait-window gone 60 >/dev/null 2>&1 || problems+=("main window still there")
  wait_program
  check <<'EOF'
joystick devices count=16
joystick capture port=0 period=0 changed=0 result=167
joystick capture port=1 period=10 changed=0 result=0
tray add size=88 window=capture id=2000 flags=7 message=1025 icon=1 tip="Quellpad 2.5"
joystick read port=1 report=1
joystick read port=1 report=2
key down vk=40 scan=0 ext=0
joystick read port=1 report=3
key up vk=40 scan=0 ext=0
joystick script-done port=1
joystick release port=1 result=0
tray delete size=88 window=capture id=2000
program exit=0
EOF
}

# After the message the program runs normally: a configuration that appears
# later is picked up by a reload, and its button works.
case_missing_config() {
  begin missing-config
  printf '%s\n' "$stick0" 'report 0' "await 0 $(winpath "$dir/go")" \
    'report 0 buttons 1' 'report 0 buttons 0' > "$script"
  start_program
  if wait_log '^joystick await port=0$'; then
    new_config "$dir/later.CFG"
    bind "$dir/later.CFG" 0 0 key=39
    mv "$dir/later.CFG" "$cfg"
    post 1024 0  # WM_RELOADCONFIG, handled before the next report is posted
    touch "$dir/go"
  fi
  wait_log '^joystick script-done port=0$' && exit_program
  wait_program
  check <<EOF
joystick devices count=16
box caption="error" text="config file could not be opened\nplease configure first"
$up0
joystick read port=0 report=1
joystick await port=0
joystick read port=0 report=2
key down vk=39 scan=0 ext=0
joystick read port=0 report=3
key up vk=39 scan=0 ext=0
$end0
EOF
}

# A file cut short: the binding it does hold must not survive.
case_damaged_config() {
  begin damaged-config
  new_config "$dir/whole.CFG"
  bind "$dir/whole.CFG" 0 0 key=39
  head -c 100 "$dir/whole.CFG" > "$cfg"
  printf '%s\n' "$stick0" 'report 0' 'report 0 buttons 1' 'report 0 buttons 0' > "$script"
  run_script_then_exit
  check <<EOF
joystick devices count=16
box caption="error" text="error reading file\nplease configure first"
$up0
joystick read port=0 report=1
joystick read port=0 report=2
joystick read port=0 report=3
$end0
EOF
}

# Keys at the button's edges: two buttons down in one report press in slot
# order; a held button repeats nothing; modifiers wrap the key.
case_buttons_press_keys() {
  begin buttons-press-keys
  new_config "$cfg"
  bind "$cfg" 0 0 key=39
  bind "$cfg" 0 1 shift control key=67
  printf '%s\n' "$stick0" 'report 0' 'report 0 buttons 3' 'report 0' 'report 0 buttons 2' 'report 0 buttons 0' > "$script"
  run_script_then_exit
  check <<EOF
$start0
joystick read port=0 report=1
joystick read port=0 report=2
key down vk=39 scan=0 ext=0
key down vk=16 scan=42 ext=0
key down vk=17 scan=29 ext=0
key down vk=16 scan=42 ext=0
key down vk=67 scan=67 ext=0
key up vk=16 scan=42 ext=1
joystick read port=0 report=3
joystick read port=0 report=4
key up vk=39 scan=0 ext=0
joystick read port=0 report=5
key up vk=67 scan=67 ext=0
key up vk=16 scan=42 ext=0
key up vk=17 scan=29 ext=0
$end0
EOF
}

# X at its maximum and Y at its minimum move the pointer by a step per steady
# report; the jump onto an end moves nothing.
case_axes_move_mouse() {
  begin axes-move-mouse
  new_config "$cfg"
  setting "$cfg" yStep 5
  bind "$cfg" 0 32 mouse=3
  bind "$cfg" 0 34 mouse=0
  printf '%s\n' "$stick0" 'report 0' 'report 0 x 65535' 'report 0' 'report 0' 'report 0 x 32767' \
    'report 0 y 0' 'report 0' 'report 0 y 32767' 'report 0' > "$script"
  run_script_then_exit
  check <<EOF
$start0
joystick read port=0 report=1
joystick read port=0 report=2
joystick read port=0 report=3
mouse move dx=8 dy=0
joystick read port=0 report=4
mouse move dx=8 dy=0
joystick read port=0 report=5
joystick read port=0 report=6
joystick read port=0 report=7
mouse move dx=0 dy=-5
joystick read port=0 report=8
joystick read port=0 report=9
$end0
EOF
}

case_macro_types_text() {
  begin macro-types-text
  new_config "$cfg"
  bind "$cfg" 0 0 'text=aB1^c'
  printf '%s\n' "$stick0" 'report 0' 'report 0 buttons 1' 'report 0 buttons 0' > "$script"
  run_script_then_exit
  check <<EOF
$start0
joystick read port=0 report=1
joystick read port=0 report=2
key down vk=65 scan=65 ext=0
key up vk=65 scan=65 ext=0
key down vk=16 scan=42 ext=0
key down vk=66 scan=66 ext=0
key up vk=66 scan=66 ext=0
key up vk=16 scan=42 ext=0
key down vk=49 scan=49 ext=0
key up vk=49 scan=49 ext=0
key down vk=17 scan=29 ext=0
key down vk=67 scan=67 ext=0
key up vk=67 scan=67 ext=0
key up vk=17 scan=29 ext=0
joystick read port=0 report=3
$end0
EOF
}

# With continuous presses a button still held at Exit is let go before the
# program ends (before the capture is released).
case_exit_releases_held_key() {
  begin exit-releases-held-key
  new_config "$cfg"
  setting "$cfg" continuous 1
  bind "$cfg" 0 0 key=39
  printf '%s\n' "$stick0" 'report 0' 'report 0 buttons 1' > "$script"
  run_script_then_exit
  check <<EOF
$start0
joystick read port=0 report=1
joystick read port=0 report=2
key down vk=39 scan=0 ext=0
joystick script-done port=0
key up vk=39 scan=0 ext=0
joystick release port=0 result=0
tray delete size=88 window=capture id=2000
program exit=0
EOF
}

# A toggle-locked click left down is let go at Exit.
case_exit_releases_toggled_button() {
  begin exit-releases-toggled-button
  new_config "$cfg"
  setting "$cfg" toggleLock 1
  bind "$cfg" 0 0 mouse=4
  printf '%s\n' "$stick0" 'report 0' 'report 0 buttons 1' 'report 0 buttons 0' > "$script"
  run_script_then_exit
  check <<EOF
$start0
joystick read port=0 report=1
joystick read port=0 report=2
mouse leftup
joystick read port=0 report=3
mouse leftdown
joystick script-done port=0
mouse leftup
joystick release port=0 result=0
tray delete size=88 window=capture id=2000
program exit=0
EOF
}

# A plain click that is over leaves nothing to let go at Exit.
case_exit_after_click_sends_nothing() {
  begin exit-after-click-sends-nothing
  new_config "$cfg"
  bind "$cfg" 0 0 mouse=4
  printf '%s\n' "$stick0" 'report 0' 'report 0 buttons 1' 'report 0 buttons 0' > "$script"
  run_script_then_exit
  check <<EOF
$start0
joystick read port=0 report=1
joystick read port=0 report=2
mouse leftdown
joystick read port=0 report=3
mouse leftup
$end0
EOF
}

# Shutdown: captures of both ports released, in port order, before the icon
# is deleted. The shell's icon must also have appeared and gone again; its
# lines stay out of the comparison, as Wine drops the icon by itself as soon
# as the window is destroyed, before the program gets to delete it.
case_shutdown_order() {
  begin shutdown-order
  new_config "$cfg"
  printf '%s\n' "$stick0" "$stick1" > "$script"
  keep='^(joystick (devices|capture|release)|tray|box|key|mouse) '
  start_program
  wait_log '^shell tray-icons=1$' && wait_log '^joystick script-done port=0$' &&
    wait_log '^joystick script-done port=1$' && exit_program
  timeout 90 wine "$observer" wait-window gone 60 >/dev/null 2>&1 || problems+=("main window still there")
  wait_program
  wait_log '^shell tray-icons=0$'
  check <<'EOF'
joystick devices count=16
joystick capture port=0 period=10 changed=0 result=0
joystick capture port=1 period=10 changed=0 result=0
tray add size=88 window=capture id=2000 flags=7 message=1025 icon=1 tip="Quellpad 2.5"
joystick release port=0 result=0
joystick release port=1 result=0
tray delete size=88 window=capture id=2000
program exit=0
EOF
}

# The stick goes away with a button down: the key is let go at the first
# failed read, a second failure sends nothing, and the stick is picked up
# again when it answers.
case_stick_lost_mid_press() {
  begin stick-lost-mid-press
  new_config "$cfg"
  bind "$cfg" 0 0 key=39
  printf '%s\n' "$stick0" 'report 0' 'report 0 buttons 1' 'lost 0' 'lost 0' \
    'report 0 buttons 1' 'report 0 buttons 0' > "$script"
  run_script_then_exit
  check <<EOF
$start0
joystick read port=0 report=1
joystick read port=0 report=2
key down vk=39 scan=0 ext=0
joystick read port=0 report=3 lost
key up vk=39 scan=0 ext=0
joystick read port=0 report=4 lost
joystick read port=0 report=5
key down vk=39 scan=0 ext=0
joystick read port=0 report=6
key up vk=39 scan=0 ext=0
$end0
EOF
}

# A reload while a binding holds Shift and a key lets go of both, last down
# first; the button's release then sends nothing, as the new file binds
# nothing to it.
case_reload_releases_held_key() {
  begin reload-releases-held-key
  new_config "$cfg"
  bind "$cfg" 0 0 shift key=39
  # The await follows a quiet report, so that the keys are in the log first.
  printf '%s\n' "$stick0" 'report 0' 'report 0 buttons 1' 'report 0 buttons 1' "await 0 $(winpath "$dir/go")" \
    'report 0 buttons 0' > "$script"
  start_program
  if wait_log '^joystick await port=0$'; then
    new_config "$cfg"
    post 1024 0  # WM_RELOADCONFIG
    wait_log '^key up vk=16 '
    touch "$dir/go"
  fi
  wait_log '^joystick script-done port=0$' && exit_program
  wait_program
  check <<EOF
$start0
joystick read port=0 report=1
joystick read port=0 report=2
key down vk=16 scan=42 ext=0
key down vk=39 scan=0 ext=0
joystick read port=0 report=3
joystick await port=0
key up vk=39 scan=0 ext=0
key up vk=16 scan=42 ext=0
joystick read port=0 report=4
$end0
EOF
}

# A gamepad's d-pad and the wheel: the hat's directions go down and up like
# buttons, a diagonal holds two, presses before releases; a wheel action turns
# one notch at the press only; a lost stick lets go of the hat.
case_hat_and_wheel() {
  begin hat-and-wheel
  new_config "$cfg"
  bind "$cfg" 0 44 key=38     # hat up: "cursor up"
  bind "$cfg" 0 45 key=39     # hat right: "cursor right"
  bind "$cfg" 0 46 mouse=11   # hat down: "wheel down"
  bind "$cfg" 0 47 mouse=12   # hat left: "wheel left"
  bind "$cfg" 0 0 mouse=10    # button 1: "wheel up"
  bind "$cfg" 0 1 mouse=13    # button 2: "wheel right"
  printf '%s\n' "$stick0 hat" 'report 0' 'report 0 hat 4500' 'report 0 hat 13500' 'report 0 hat 27000' \
    'report 0 hat 65535' 'report 0 buttons 1' 'report 0 buttons 2' 'report 0 buttons 0' 'report 0 hat 0' \
    'lost 0' 'report 0 hat 65535' > "$script"
  run_script_then_exit
  check <<EOF
$start0
joystick read port=0 report=1
joystick read port=0 report=2
key down vk=38 scan=0 ext=0
key down vk=39 scan=0 ext=0
joystick read port=0 report=3
mouse wheel delta=-120
key up vk=38 scan=0 ext=0
joystick read port=0 report=4
mouse hwheel delta=-120
key up vk=39 scan=0 ext=0
joystick read port=0 report=5
joystick read port=0 report=6
mouse wheel delta=120
joystick read port=0 report=7
mouse hwheel delta=120
joystick read port=0 report=8
joystick read port=0 report=9
key down vk=38 scan=0 ext=0
joystick read port=0 report=10 lost
key up vk=38 scan=0 ext=0
joystick read port=0 report=11
$end0
EOF
}

# Port 2 is empty at start. Once the icon is up, a stick with other ranges
# than port 1's (X and Y 1000..3000, a hat, 20 ms) arrives there: it is
# captured at its own period, and its button, X at its maximum and its hat
# fire. Then it is unplugged with a button down: the driver falls silent, as
# Wine's does, and the key is let go of all the same.
case_stick_arrives_on_port_2() {
  begin stick-arrives-on-port-2
  new_config "$cfg"
  bind "$cfg" 1 0 key=40    # button 1: "cursor down"
  bind "$cfg" 1 1 key=37    # button 2: "cursor left"
  bind "$cfg" 1 32 key=39   # X+: "cursor right"
  bind "$cfg" 1 44 key=38   # hat up: "cursor up"
  keep='^(joystick (devices|capture|release|arrive|leave|read port=1)|key|mouse|box|tray) '
  printf '%s\n' "$stick0" "await 1 $(winpath "$dir/go")" \
    'arrive 1 buttons 4 axes 2 period 20 x 1000 3000 y 1000 3000 hat' 'report 1' 'report 1 buttons 1' \
    'report 1 buttons 0' 'report 1 x 3000' 'report 1 x 3000' 'report 1 x 2000 hat 0' \
    'report 1 buttons 2 hat 65535' 'report 1' 'leave 1' > "$script"
  start_program
  wait_log '^tray add ' && touch "$dir/go"
  wait_log '^key up vk=37 ' && exit_program
  wait_program
  check <<'EOF'
joystick devices count=16
joystick capture port=0 period=10 changed=0 result=0
joystick capture port=1 period=0 changed=0 result=167
tray add size=88 window=capture id=2000 flags=7 message=1025 icon=1 tip="Quellpad 2.5"
joystick arrive port=1
joystick capture port=1 period=20 changed=0 result=0
joystick read port=1 report=1
joystick read port=1 report=2
key down vk=40 scan=0 ext=0
joystick read port=1 report=3
key up vk=40 scan=0 ext=0
joystick read port=1 report=4
joystick read port=1 report=5
key down vk=39 scan=0 ext=0
key up vk=39 scan=0 ext=0
joystick read port=1 report=6
key down vk=38 scan=0 ext=0
joystick read port=1 report=7
key down vk=37 scan=0 ext=0
key up vk=38 scan=0 ext=0
joystick read port=1 report=8
joystick leave port=1
key up vk=37 scan=0 ext=0
joystick release port=0 result=0
joystick release port=1 result=0
tray delete size=88 window=capture id=2000
program exit=0
EOF
}

# Port 1 reads Xbox controller 1 through XInput (the stand-in library),
# port 2 has no stick. Both triggers held at once hold both mouse buttons,
# and the guide button (11) types Escape; at rest both go up, and the
# controller then leaves. No stick is captured through the driver, so the
# double names the tray icon's window "other".
case_xbox_controller_triggers_and_guide() {
  begin xbox-controller-triggers-and-guide
  cp "$xinput_double" "$dir/"  # only this case has the stand-in beside the program
  new_config "$cfg"
  set_key "$cfg" port1.source '"xbox 1"'
  setting "$cfg" continuous true
  bind "$cfg" 0 36 mouse=8    # Z+, the left trigger: "right click"
  bind "$cfg" 0 42 mouse=4    # V+, the right trigger: "left click"
  bind "$cfg" 0 10 key=27     # button 11, guide: "escape"
  keep='^(joystick capture|xinput|key|mouse|box|tray) '
  printf '%s\n' 'pad 0 reads 2' 'pad 0' 'pad 0 lt 255 rt 255' 'pad 0' 'pad 0 buttons 0x400' 'pad 0 buttons 0 lt 0 rt 0' \
    'pad 0' 'gone 0' > "$pads"
  start_program
  wait_log '^xinput gone 0 ' && exit_program
  wait_program
  check <<'EOF'
xinput pad 0 line=1
joystick capture port=1 period=0 changed=0 result=167
tray add size=88 window=other id=2000 flags=7 message=1025 icon=1 tip="Quellpad 2.5"
xinput pad 0 line=2
xinput pad 0 line=3
xinput pad 0 line=4
mouse rightdown
mouse leftdown
xinput pad 0 line=5
key down vk=27 scan=27 ext=0
mouse rightdown
mouse leftdown
xinput pad 0 line=6
key up vk=27 scan=27 ext=0
xinput pad 0 line=7
mouse rightup
mouse leftup
xinput gone 0 line=8
tray delete size=88 window=other id=2000
program exit=0
EOF
}

# The same controller, from a file whose PADS chunk comes after its HATS
# chunk (as another writer may order them): port 1 still reads Xbox
# controller 1, and its guide button types Escape.
case_xbox_port_from_pads_after_hats() {
  begin xbox-port-from-pads-after-hats
  cp "$xinput_double" "$dir/"
  new_config "$cfg"
  set_key "$cfg" port1.source '"xbox 1"'
  setting "$cfg" continuous true
  bind "$cfg" 0 44 key=38     # hat up: only so that the file has a HATS chunk
  bind "$cfg" 0 10 key=27     # button 11, guide: "escape"
  # quellpad-cfg writes PADS (10 bytes) then HATS (616): swap them.
  { head -c 6724 "$cfg"; tail -c 616 "$cfg"; head -c 6734 "$cfg" | tail -c 10; } > "$dir/swapped" &&
    mv "$dir/swapped" "$cfg"
  [[ $(tail -c 626 "$cfg" | head -c 4) == HATS && $(tail -c 10 "$cfg" | head -c 4) == PADS ]] ||
    problems+=("the file does not have PADS after HATS")
  keep='^(joystick capture|xinput|key|mouse|box|tray) '
  printf '%s\n' 'pad 0 reads 2' 'pad 0 buttons 0x400' 'pad 0 buttons 0' 'gone 0' > "$pads"
  start_program
  wait_log '^xinput gone 0 ' && exit_program
  wait_program
  check <<'EOF'
xinput pad 0 line=1
joystick capture port=1 period=0 changed=0 result=167
tray add size=88 window=other id=2000 flags=7 message=1025 icon=1 tip="Quellpad 2.5"
xinput pad 0 line=2
key down vk=27 scan=27 ext=0
xinput pad 0 line=3
key up vk=27 scan=27 ext=0
xinput gone 0 line=4
tray delete size=88 window=other id=2000
program exit=0
EOF
}

# No joystick driver at all, but port 1 reads Xbox controller 1: the program
# starts without a word about game-devices, and the pad's A types Escape.
case_xbox_controller_without_joystick_driver() {
  begin xbox-controller-without-joystick-driver
  cp "$xinput_double" "$dir/"
  new_config "$cfg"
  set_key "$cfg" port1.source '"xbox 1"'
  bind "$cfg" 0 0 key=27      # button 1, A: "escape"
  keep='^(joystick (devices|capture)|xinput|key|box|tray) '
  echo 'devices 0' > "$script"
  printf '%s\n' 'pad 0 reads 4' 'pad 0 buttons 0x1000 reads 3' 'pad 0 buttons 0 reads 3' 'gone 0' > "$pads"
  start_program
  wait_log '^xinput gone 0 ' && exit_program
  wait_program
  check <<'EOF'
joystick devices count=0
xinput pad 0 line=1
joystick capture port=1 period=0 changed=0 result=167
tray add size=88 window=other id=2000 flags=7 message=1025 icon=1 tip="Quellpad 2.5"
xinput pad 0 line=2
key down vk=27 scan=27 ext=0
xinput pad 0 line=3
key up vk=27 scan=27 ext=0
xinput gone 0 line=4
tray delete size=88 window=other id=2000
program exit=0
EOF
}

# --- the editor, driven as a user would: clicks and keys on the X display ----

# where WHAT: screen position of a tray icon, menu item, tab or control.
where() { timeout 30 wine "$observer" where "$1" 2>/dev/null | tr -d '\r'; }

# click WHAT: moves the pointer there and clicks, as a user would.
click() {
  local at
  at=$(where "$1")
  if [[ -z $at ]]; then
    problems+=("nothing to click at $1")
    return 1
  fi
  xdotool mousemove $at click 1
  sleep 0.3
}

# open_editor: a left click on the tray icon, then "Config ..." in its menu.
open_editor() {
  click tray && sleep 0.5 && click menu:3/3 || return 1
  local deadline=$((SECONDS + 30))
  until [[ -n $(where sheet) ]]; do
    ((SECONDS > deadline)) && { problems+=("the editor did not open"); return 1; }
    sleep 0.2
  done
  sleep 0.5
}

# wait_editor_closed: until the sheet is gone (the reload follows at once).
wait_editor_closed() {
  local deadline=$((SECONDS + 30))
  while [[ -n $(where sheet) ]]; do
    ((SECONDS > deadline)) && { problems+=("the editor did not close"); return 1; }
    sleep 0.2
  done
}

# expect_checked ID 0|1 WHAT: the editor's box or radio button ID is (not) ticked.
expect_checked() {
  local got
  got=$(timeout 30 wine "$observer" checked "$1" 2>/dev/null | tr -d '\r')
  [[ $got == "$2" ]] || problems+=("$3: control $1 ticked '$got', expected '$2'")
}

# open_behaviour_dialog: "&Layer/turbo..." on the action page, until its dialog shows.
open_behaviour_dialog() {
  click 213 || return 1
  local deadline=$((SECONDS + 30))
  until [[ -n $(where dialog) ]]; do
    ((SECONDS > deadline)) && { problems+=("the layer and turbo dialog did not open"); return 1; }
    sleep 0.2
  done
}

# Tabs of the editor for a stick of 4 buttons and 2 axes.
tab_button1=1
tab_button2=2

# OK saves exactly what was edited: settings changed with the check boxes and
# arrows, a binding of each port, and a page that refills itself from the
# port chosen on another page before it stores.
case_editor_ok_saves_the_edits() {
  begin editor-ok-saves-the-edits
  keep='^(joystick|key|box|tray) '  # the clicks move the pointer, not the program
  new_config "$cfg"
  printf '%s\n' "$stick0" 'report 0' "await 0 $(winpath "$dir/go")" \
    'report 0 buttons 1' 'report 0 buttons 0' > "$script"
  start_program
  if wait_log '^joystick await port=0$' && open_editor; then
    click 104                                      # &continuous
    click 100:up && click 100:up                   # xStep 8 -> 10
    click 105:down                                 # sensitivity 20 -> 19
    click 106:up && click 106:up && click 106:up   # delay 1 -> 4
    click tab:$tab_button1
    click 200 && click 204 && click 206            # on, &control, send single &Key
    xdotool key Tab t                              # on to the key list: the one key starting with t, "tab"
    sleep 0.3
    click tab:$tab_button2                         # leaving stores port 1's button 1
    click 202                                      # Port &2
    click 200 && click 208                         # on, send &text
    click 209 && xdotool type --delay 50 'Hi'
    click tab:$tab_button1                         # stores port 2's button 2, shows port 2's button 1
    click 1                                        # OK stores that page as shown
    wait_editor_closed
  fi
  local expected=$dir/expected.CFG
  new_config "$expected"
  setting "$expected" continuous 1
  setting "$expected" xStep 10
  setting "$expected" sensitivity 19
  setting "$expected" delay 4
  bind "$expected" 0 0 control key=9
  bind "$expected" 1 1 text=Hi
  field "$expected" 1 1 keyCode -1   # no key chosen on that page
  field "$expected" 1 0 keyCode -1   # visited, nothing chosen
  if ! cmp -s "$expected" "$cfg"; then
    problems+=("saved file differs (expected -> saved):" "$("$cfg_tool" diff "$expected" "$cfg" 2>&1 | head -n 8)")
  fi
  touch "$dir/go"
  wait_log '^joystick script-done port=0$' && exit_program
  wait_program
  check <<EOF
$start0
joystick read port=0 report=1
joystick await port=0
joystick read port=0 report=2
key down vk=17 scan=29 ext=0
key down vk=9 scan=9 ext=0
joystick read port=0 report=3
key up vk=9 scan=9 ext=0
key up vk=17 scan=29 ext=0
$end0
EOF
}

# Cancel after edits: the live settings and bindings that the editor changed
# are read back from the file, which stays as it was.
case_editor_cancel_restores_the_file() {
  begin editor-cancel-restores-the-file
  keep='^(joystick|key|box|tray) '
  new_config "$cfg"
  bind "$cfg" 0 0 key=39
  bind "$cfg" 0 32 key=37
  cp "$cfg" "$dir/before.CFG"
  local centre='x 32767 y 32767' right='x 65535 y 32767'
  printf '%s\n' "$stick0" "report 0 $centre" "report 0 $centre" "await 0 $(winpath "$dir/go")" \
    "report 0 $centre buttons 1" "report 0 $centre buttons 0" \
    "report 0 $right" "report 0 $right" "report 0 $centre" "report 0 $centre" > "$script"
  start_program
  if wait_log '^joystick await port=0$' && open_editor; then
    click 104                                      # &continuous, live at once
    click tab:$tab_button1
    click 206 && xdotool key Tab t                 # "tab" instead of "cursor right" (and no key)
    sleep 0.3
    click tab:$tab_button2                         # leaving stores it in the live binding
    click 2                                        # Cancel
    wait_editor_closed
  fi
  cmp -s "$dir/before.CFG" "$cfg" || problems+=("Cancel changed the file")
  touch "$dir/go"
  wait_log '^joystick script-done port=0$' && exit_program
  wait_program
  # "cursor right" again on button 1, and one shot again on X+: pressed and
  # let go at the end, nothing between the ends.
  check <<EOF
$start0
joystick read port=0 report=1
joystick read port=0 report=2
joystick await port=0
joystick read port=0 report=3
key down vk=39 scan=0 ext=0
joystick read port=0 report=4
key up vk=39 scan=0 ext=0
joystick read port=0 report=5
joystick read port=0 report=6
key down vk=37 scan=0 ext=0
key up vk=37 scan=0 ext=0
joystick read port=0 report=7
joystick read port=0 report=8
$end0
EOF
}

# A layer's binding and a layer key, edited as a user would: layer 1 chosen
# on one page and a key bound there, a while-held switch to layer 1 set on
# another slot's base in its dialog, OK. The base keeps only what a visit
# stores, and the bindings of layer 1 that were only looked at stay empty.
case_editor_layers() {
  begin editor-layers
  keep='^(joystick|key|box|tray) '
  new_config "$cfg"
  # After OK: button 2 held switches layer 1 on, where button 1 types tab.
  printf '%s\n' "$stick0" 'report 0' "await 0 $(winpath "$dir/go")" 'report 0 buttons 2' 'report 0 buttons 3' \
    'report 0 buttons 2' 'report 0 buttons 0' > "$script"
  start_program
  if wait_log '^joystick await port=0$' && open_editor; then
    click tab:$tab_button1
    click 212 && xdotool key Down Return           # the layer choice: "layer 1"
    sleep 0.3
    click 200 && click 206                         # on, send single &Key
    xdotool key Tab t                              # "tab"
    sleep 0.3
    click tab:$tab_button2                         # stores layer 1's button 1; shows layer 1 here too
    click tab:$tab_button1
    expect_checked 206 1 "layer 1's button 1, shown again"
    click tab:$tab_button2
    click 212 && xdotool key Home Return           # back to the base: layer 1's button 2 was only looked at
    sleep 0.3
    open_behaviour_dialog
    click 221                                      # &while held, layer 1 as the target it offers
    click 1                                        # the dialog's OK
    sleep 0.3
    open_behaviour_dialog
    expect_checked 221 1 "the while-held switch, shown again"
    click 2                                        # the dialog's Cancel
    sleep 0.3
    click 1                                        # the sheet's OK
    wait_editor_closed
  fi
  local expected=$dir/expected.CFG
  new_config "$expected"
  field "$expected" 0 0 keyCode -1   # the base pages visited, nothing chosen
  field "$expected" 0 1 keyCode -1
  # And in the chunks of layers and behaviours: layer 1's button 1 of port 1
  # (on, "tab") and port 1's button 2 switching layer 1 while held.
  set_key "$expected" layer1.port1.button1.on true
  set_key "$expected" layer1.port1.button1.sendKey true
  set_key "$expected" layer1.port1.button1.keyCode '"tab"'
  set_key "$expected" port1.button2.layerAction '"while held"'
  set_key "$expected" port1.button2.layerTarget 1
  build_config "$expected"
  if ! cmp -s "$expected" "$cfg"; then
    problems+=("saved file differs (expected -> saved):" "$("$cfg_tool" diff "$expected" "$cfg" 2>&1 | head -n 8)")
  fi
  touch "$dir/go"
  wait_log '^joystick script-done port=0$' && exit_program
  wait_program
  check <<EOF
$start0
joystick read port=0 report=1
joystick await port=0
joystick read port=0 report=2
joystick read port=0 report=3
key down vk=9 scan=9 ext=0
joystick read port=0 report=4
key up vk=9 scan=9 ext=0
joystick read port=0 report=5
$end0
EOF
}

# A folder whose name the ANSI code page cannot spell: the program finds its
# file beside itself and a binding fires; OK saves there (past a link planted
# at a name a save might use), and Save as ... and Load ... take such names.
case_folder_named_in_cjk() {
  begin folder-named-in-cjk
  keep='^(joystick|key|box|tray) '
  local case_dir=$dir home=$dir/日本
  local other=$home/設定.CFG expected=$dir/expected.CFG
  mkdir "$home" && mv "$dir"/*.exe "$dir"/*.dll "$home/"
  cfg=$home/quellpad.CFG
  new_config "$cfg"
  bind "$cfg" 0 0 key=39
  printf mine > "$home/precious.txt"
  ln -s precious.txt "$home/~qp0.tmp"
  printf '%s\n' "$stick0" 'report 0' 'report 0 buttons 1' 'report 0 buttons 0' "await 0 $(winpath "$dir/go1")" \
    'report 0 buttons 1' 'report 0 buttons 0' "await 0 $(winpath "$dir/go2")" \
    'report 0 buttons 1' 'report 0 buttons 0' > "$script"
  dir=$home
  start_program
  dir=$case_dir
  if wait_log '^joystick await port=0$' && open_editor; then
    click tab:$tab_button1
    click 204                                      # &control
    click 1                                        # OK saves beside the program
    wait_editor_closed
  fi
  new_config "$expected"
  bind "$expected" 0 0 control key=39
  cmp -s "$expected" "$cfg" || problems+=("OK did not save the edit beside the program")
  touch "$dir/go1"
  if wait_log '^joystick read port=0 report=5$' && click tray && sleep 0.5 && click menu:2/3; then  # Save as ...
    timeout 60 wine "$observer" answer-dialog "$(winpath "$other")" >/dev/null 2>&1 || problems+=("no Save as dialog")
    local deadline=$((SECONDS + 30))
    until cmp -s "$expected" "$other" || ((SECONDS > deadline)); do sleep 0.2; done
    cmp -s "$expected" "$other" || problems+=("Save as did not write $other")
  fi
  new_config "$other"                              # what Save as wrote, with another key
  bind "$other" 0 0 control key=37
  if click tray && sleep 0.5 && click menu:1/3; then  # Load ...
    timeout 60 wine "$observer" answer-dialog "$(winpath "$other")" >/dev/null 2>&1 || problems+=("no Load dialog")
    sleep 2
  fi
  touch "$dir/go2"
  wait_log '^joystick script-done port=0$' && exit_program
  wait_program
  [[ $(cat "$home/precious.txt") == mine && $(readlink "$home/~qp0.tmp") == precious.txt ]] ||
    problems+=("the planted link or its file changed")
  local left
  left=$(cd "$home" && ls -A | LC_ALL=C sort | tr '\n' ' ')
  [[ $left == "precious.txt quellpad.CFG quellpad.exe winmm.dll winmm_real.dll ~qp0.tmp 設定.CFG " ]] ||
    problems+=("files beside the program: $left")
  check <<EOF
$start0
joystick read port=0 report=1
joystick read port=0 report=2
key down vk=39 scan=0 ext=0
joystick read port=0 report=3
key up vk=39 scan=0 ext=0
joystick await port=0
joystick read port=0 report=4
key down vk=17 scan=29 ext=0
key down vk=39 scan=0 ext=0
joystick read port=0 report=5
key up vk=39 scan=0 ext=0
key up vk=17 scan=29 ext=0
joystick await port=0
joystick read port=0 report=6
key down vk=17 scan=29 ext=0
key down vk=37 scan=0 ext=0
joystick read port=0 report=7
key up vk=37 scan=0 ext=0
key up vk=17 scan=29 ext=0
$end0
EOF
}

# A configuration per application: two programs come to the front in turn,
# started from inside the program as a game would be; each has its profile
# beside quellpad.exe and button 1 types its own digit. The switch comes
# between two reports, so the button held across the last one is let go and
# then presses the new binding.
case_profile_per_application() {
  begin profile-per-application
  new_config "$cfg"
  bind "$cfg" 0 0 key=49
  mkdir -p "$dir/profiles"
  new_config "$dir/profiles/alpha.CFG"
  bind "$dir/profiles/alpha.CFG" 0 0 key=50
  new_config "$dir/profiles/beta.CFG"
  bind "$dir/profiles/beta.CFG" 0 0 key=51
  cp "$front" "$dir/alpha.exe"
  cp "$front" "$dir/beta.exe"
  # A repeated report changes nothing: whatever the one before typed is in
  # the log before the next program starts.
  printf '%s\n' "$stick0" 'report 0' 'report 0 buttons 1' 'report 0 buttons 0' 'report 0' \
    "start 0 $(winpath "$dir/alpha.exe")" 'pause 0 2000' 'report 0 buttons 1' 'report 0 buttons 0' 'report 0' \
    "start 0 $(winpath "$dir/beta.exe")" 'pause 0 2000' 'report 0 buttons 1' 'report 0' \
    "start 0 $(winpath "$dir/alpha.exe")" 'pause 0 2000' 'report 0' 'report 0 buttons 0' > "$script"
  run_script_then_exit
  local tip='tray modify size=88 window=capture id=2000 flags=4 message=0 icon=0'
  check <<EOF
$start0
joystick read port=0 report=1
joystick read port=0 report=2
key down vk=49 scan=49 ext=0
joystick read port=0 report=3
key up vk=49 scan=49 ext=0
joystick read port=0 report=4
joystick start name=alpha.exe
$tip tip="Quellpad 2.5 - alpha"
joystick read port=0 report=5
key down vk=50 scan=50 ext=0
joystick read port=0 report=6
key up vk=50 scan=50 ext=0
joystick read port=0 report=7
joystick start name=beta.exe
$tip tip="Quellpad 2.5 - beta"
joystick read port=0 report=8
key down vk=51 scan=51 ext=0
joystick read port=0 report=9
joystick start name=alpha.exe
key up vk=51 scan=51 ext=0
$tip tip="Quellpad 2.5 - alpha"
joystick read port=0 report=10
key down vk=50 scan=50 ext=0
joystick read port=0 report=11
key up vk=50 scan=50 ext=0
$end0
EOF
}

# No base file beside the program, one profile: its keys stop with its
# application, as the start state runs again for the next one.
case_profile_without_base() {
  begin profile-without-base
  mkdir -p "$dir/profiles"
  new_config "$dir/profiles/alpha.CFG"
  bind "$dir/profiles/alpha.CFG" 0 0 key=50
  cp "$front" "$dir/alpha.exe"
  cp "$front" "$dir/beta.exe"
  printf '%s\n' "$stick0" 'report 0' \
    "start 0 $(winpath "$dir/alpha.exe")" 'pause 0 2000' 'report 0 buttons 1' 'report 0 buttons 0' 'report 0' \
    "start 0 $(winpath "$dir/beta.exe")" 'pause 0 2000' 'report 0 buttons 1' 'report 0 buttons 0' > "$script"
  run_script_then_exit
  local tip='tray modify size=88 window=capture id=2000 flags=4 message=0 icon=0'
  check <<EOF
joystick devices count=16
box caption="error" text="config file could not be opened\nplease configure first"
$up0
joystick read port=0 report=1
joystick start name=alpha.exe
$tip tip="Quellpad 2.5 - alpha"
joystick read port=0 report=2
key down vk=50 scan=50 ext=0
joystick read port=0 report=3
key up vk=50 scan=50 ext=0
joystick read port=0 report=4
joystick start name=beta.exe
$tip tip="Quellpad 2.5"
joystick read port=0 report=5
joystick read port=0 report=6
$end0
EOF
}

# Layers through the real program: button 5 held switches layer 1 on (button
# 1 types F1 there instead of "1"), tapped it types Escape, pressed at the
# release and let go 40 ms later by the engine's timer; button 7 repeats
# space every 200 ms while held.
case_layer_tap_and_turbo() {
  begin layer-tap-and-turbo
  new_config "$cfg"
  bind "$cfg" 0 0 key=49
  bind "$cfg" 0 4 key=27
  set_key "$cfg" port1.button5.layerAction '"while held"'
  set_key "$cfg" port1.button5.layerTarget 1
  set_key "$cfg" layer1.port1.button1.on true
  set_key "$cfg" layer1.port1.button1.sendKey true
  set_key "$cfg" layer1.port1.button1.keyCode 112
  set_key "$cfg" port1.button7.turbo 200
  bind "$cfg" 0 6 key=32
  printf '%s\n' "$stick0" 'report 0' 'report 0 buttons 16' 'report 0 buttons 17' 'report 0 buttons 16' \
    'report 0 buttons 0' 'report 0 buttons 16' 'report 0 buttons 0' 'pause 0 200' 'report 0 buttons 64' \
    'pause 0 250' 'report 0 buttons 0' > "$script"
  run_script_then_exit
  check <<EOF
$start0
joystick read port=0 report=1
joystick read port=0 report=2
joystick read port=0 report=3
key down vk=112 scan=0 ext=0
joystick read port=0 report=4
key up vk=112 scan=0 ext=0
joystick read port=0 report=5
joystick read port=0 report=6
joystick read port=0 report=7
key down vk=27 scan=27 ext=0
key up vk=27 scan=27 ext=0
joystick read port=0 report=8
key down vk=32 scan=32 ext=0
key up vk=32 scan=32 ext=0
key down vk=32 scan=32 ext=0
joystick read port=0 report=9
key up vk=32 scan=32 ext=0
$end0
EOF
}

started=$SECONDS
# QP_CASES=REGEX runs only the cases whose function name matches.
for case_function in $(declare -F | awk '$3 ~ /^case_/ { print $3 }'); do
  [[ -n ${QP_CASES:-} && ! $case_function =~ $QP_CASES ]] && continue
  "$case_function"
done
timeout 60 wineserver -w || true
echo "run time: $((SECONDS - started)) s for the cases"
echo "$passed passed, $failed failed"
((failed == 0))
