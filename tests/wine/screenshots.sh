#!/usr/bin/env bash
# Takes the README's pictures of the editor: its common page, an action page,
# the same page showing layer 1 with its layer and turbo dialog open, the
# information page and the Controllers page, as the program shows them under
# Wine.
# Usage: tests/wine/screenshots.sh [BUILD_DIR [QUELLPAD_CFG]]   (writes docs/editor-*.png)
if [[ -z ${QP_INSIDE_XVFB:-} ]] && ! command -v import >/dev/null; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends imagemagick >/dev/null
fi
source "$(dirname "$0")/harness.sh"
docs=$here/../../docs

where() { timeout 30 wine "$observer" where "$1" 2>/dev/null | tr -d '\r'; }
click() { xdotool mousemove $(where "$1") click 1; sleep 0.5; }
shoot() {  # FILE [sheet|dialog]
  local x y w h
  read -r x y w h <<<"$(where "${2:-sheet}")"
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$docs/$1"
  echo "wrote docs/$1"
}

begin screenshots
new_config "$cfg"
bind "$cfg" 0 0 shift key=39 mouse=4
bind "$cfg" 0 44 key=38 mouse=10   # the d-pad's up: "cursor up" and "wheel up"
setting "$cfg" xStep 12
printf '%s\n' 'caps 0 buttons 4 axes 3 period 10 x 0 65535 y 0 65535 z 0 65535 hat' 'report 0' > "$script"
start_program
wait_log '^joystick script-done port=0$'
click tray
click menu:3/3
sleep 1
shoot editor-common.png
click tab:11   # "Hat up", after the buttons and the X, Y and Z pages
shoot editor-action.png
click 212; xdotool key Down Return; sleep 0.5   # layer 1
click 200; click 206; xdotool key Tab c; sleep 0.5   # bound there to a key
shoot editor-layer.png
click 213; sleep 1   # &Layer/turbo...
click 224; xdotool key ctrl+a; xdotool type --delay 50 '100'; sleep 0.5
shoot editor-layer-turbo.png dialog
click 2; sleep 0.5   # Cancel: the dialog stores nothing
click tab:15
shoot editor-info.png
click tab:16
shoot editor-controllers.png
click 2
exit_program
wait_program
