# What the Wine cases and the demo share: a fresh 32-bit prefix on a virtual
# X display, configuration files written by quellpad-cfg from TOML, and a way
# to run quellpad.exe with the scripted joystick (winmm.dll, the driver
# double, beside the exe) and the observer logging the keyboard and mouse
# events and message boxes it produces.
#
# Sourced by tests/wine/run.sh and scripts/demo.sh, whose arguments are the
# mingw build folder (default build/mingw) and the native quellpad-cfg
# (default build/native/tools/quellpad-cfg/quellpad-cfg). It re-runs the
# caller inside xvfb-run, so source it before doing anything else.
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=${1:-$here/../../build/mingw}
cfg_tool=${2:-$here/../../build/native/tools/quellpad-cfg/quellpad-cfg}
program=$build/quellpad.exe
double=$build/tests/wine/winmm.dll
xinput_double=$build/tests/wine/xinput1_4.dll
observer=$build/tests/wine/observer.exe
front=$build/tests/wine/front.exe
wine_winmm=$(bash "$here/find-wine-winmm.sh") || exit 2

for file in "$program" "$double" "$xinput_double" "$observer" "$front"; do
  if [[ ! -f $file ]]; then
    echo "missing $file (build: cmake --preset mingw && cmake --build --preset mingw)" >&2
    exit 2
  fi
done
if [[ ! -x $cfg_tool ]]; then
  echo "missing $cfg_tool (build: cmake --preset native && cmake --build --preset native --target quellpad-cfg)" >&2
  exit 2
fi
cfg_tool=$(cd "$(dirname "$cfg_tool")" && pwd)/$(basename "$cfg_tool")
for tool in wine wineserver xvfb-run timeout; do
  command -v "$tool" >/dev/null || { echo "missing $tool: run scripts/setup-wine.sh" >&2; exit 2; }
done

# Everything below runs inside one virtual X display.
if [[ -z ${QP_INSIDE_XVFB:-} ]]; then
  export QP_INSIDE_XVFB=1
  exec timeout 1200 xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$build" "$cfg_tool"
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/quellpad-wine.XXXXXX")
export WINEPREFIX=$work/prefix WINEARCH=win32 WINEDEBUG=-all
unset QP_LOG QP_JOYSTICK_SCRIPT
trap 'timeout 30 wineserver -k >/dev/null 2>&1; rm -rf "$work"' EXIT

winpath() { local path=${1//\//\\}; printf 'Z:%s' "$path"; }

# --- prefix ------------------------------------------------------------------

cat > "$work/settings.reg" <<'EOF'
REGEDIT4

; Otherwise every closed window stalls the program for about two seconds.
[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

; Relative mouse moves arrive unscaled.
[HKEY_CURRENT_USER\Control Panel\Mouse]
"MouseSpeed"="0"

; Wine's own winmm and XInput would win over the doubles beside the exe.
[HKEY_CURRENT_USER\Software\Wine\AppDefaults\quellpad.exe\DllOverrides]
"winmm"="native,builtin"
"xinput1_4"="native,builtin"
EOF
if ! timeout 300 wine wineboot -i >/dev/null 2>&1 ||
   ! timeout 120 wine regedit /S "$(winpath "$work/settings.reg")" >/dev/null 2>&1 ||
   ! timeout 120 wineserver -w; then
  echo "could not create the Wine prefix" >&2
  exit 2
fi

# --- configuration files -----------------------------------------------------

# Each configuration file FILE is built by quellpad-cfg from a TOML text kept
# in the work folder (toml_of FILE names it; not beside FILE, where the
# program's own files are checked), so the file's layout is known in one place, the
# program's own writer. The text holds one dotted key a line
# (port1.button1.sendKey = true); a helper replaces a key's line and builds
# the file again. Ports count from 0 here, as in the joystick script.

toml_of() { printf '%s/toml/%s.toml' "$work" "$(printf %s "$1" | md5sum | cut -c1-16)"; }

# set_key FILE KEY VALUE: KEY = VALUE in FILE's text, replacing an earlier value.
set_key() {
  local text
  text=$(toml_of "$1")
  mkdir -p "$work/toml" && touch "$text"
  awk -v key="$2 = " 'index($0, key) != 1' "$text" > "$text.new" && mv "$text.new" "$text"
  printf '%s = %s\n' "$2" "$3" >> "$text"
}

# build_config FILE: writes FILE from its text.
build_config() {
  "$cfg_tool" build "$(toml_of "$1")" -o "$1" >/dev/null || problems+=("quellpad-cfg could not build $1")
}

# slot_name PORT SLOT. Slots: 0..31 buttons 1..32, 32 X+, 33 X-, 34 Y+ (raw
# minimum), 35 Y-, then Z, R, U and V likewise, 44..47 hat up, right, down, left.
slot_name() {
  local axes=(x y z r u v) hats=(up right down left)
  if (($2 < 32)); then
    echo "port$(($1 + 1)).button$(($2 + 1))"
  elif (($2 >= 44)); then
    echo "port$(($1 + 1)).hat_${hats[$2 - 44]}"
  else
    echo "port$(($1 + 1)).axis_${axes[($2 - 32) / 2]}_$( (($2 % 2)) && echo minus || echo plus)"
  fi
}

# new_config FILE: nothing bound, default settings.
new_config() {
  mkdir -p "$work/toml" && : > "$(toml_of "$1")"
  build_config "$1"
}

# setting FILE NAME VALUE
setting() {
  set_key "$1" "$2" "$3"
  build_config "$1"
}

# bind FILE PORT SLOT [shift] [control] [alt] [key=CODE] [text=TEXT] [mouse=ACTION]
bind() {
  local file=$1 slot item text
  slot=$(slot_name "$2" "$3")
  shift 3
  set_key "$file" "$slot.on" true
  for item in "$@"; do
    case $item in
      shift | control | alt) set_key "$file" "$slot.$item" true ;;
      key=*) set_key "$file" "$slot.sendKey" true; set_key "$file" "$slot.keyCode" "${item#key=}" ;;
      text=*) text=${item#text=}; text=${text//\\/\\\\}; text=${text//\"/\\\"}
              set_key "$file" "$slot.sendText" true; set_key "$file" "$slot.text" "\"$text\"" ;;
      mouse=*) set_key "$file" "$slot.sendMouse" true; set_key "$file" "$slot.mouseAction" "${item#mouse=}" ;;
    esac
  done
  build_config "$file"
}

# field FILE PORT SLOT NAME VALUE: one field of a binding as it is, e.g. the
# -1 the editor leaves for "no key chosen"; an unbound slot stays off.
field() {
  local slot
  slot=$(slot_name "$2" "$3")
  grep -q "^$slot\.on = " "$(toml_of "$1")" 2>/dev/null || set_key "$1" "$slot.on" false
  set_key "$1" "$slot.$4" "$5"
  build_config "$1"
}

# --- running a case ----------------------------------------------------------

passed=0
failed=0

# begin NAME: a folder with the program, the double and Wine's winmm beside it.
begin() {
  name=$1
  dir=$work/cases/$name
  mkdir -p "$dir"
  cp "$program" "$double" "$dir/"
  cp "$wine_winmm" "$dir/winmm_real.dll"
  cfg=$dir/quellpad.CFG
  script=$dir/script.txt
  pads=$dir/pads.txt
  log=$dir/log.txt
  : > "$log"
  : > "$script"
  : > "$pads"
  problems=()
  keep='^(joystick|key|mouse|box|tray) '
  program_pid=
  program_status=running
  export QP_LOG QP_JOYSTICK_SCRIPT QP_XINPUT_SCRIPT
  QP_XINPUT_SCRIPT=$(winpath "$pads")
  QP_LOG=$(winpath "$log")
  QP_JOYSTICK_SCRIPT=$(winpath "$script")
  timeout 600 wine "$observer" watch >/dev/null 2>&1 &
  observer_pid=$!
  wait_log '^observer ready$' || true
}

start_program() {
  (cd "$dir" && exec timeout 120 wine quellpad.exe) >/dev/null 2>&1 &
  program_pid=$!
}

# wait_log REGEX [SECONDS]: until a line of the log matches.
wait_log() {
  local deadline=$((SECONDS + ${2:-60}))
  until grep -qE -- "$1" "$log"; do
    if ((SECONDS > deadline)); then
      problems+=("no log line matched /$1/ within ${2:-60} s")
      return 1
    fi
    sleep 0.1
  done
}

# post MESSAGE WPARAM: to the program's main window.
post() {
  timeout 60 wine "$observer" post "$@" >/dev/null 2>&1 || problems+=("could not post $* to the program")
}

exit_program() { post 273 100; }  # WM_COMMAND IDM_EXIT

# wait_program: until the program has ended; records its exit status.
wait_program() {
  local deadline=$((SECONDS + 60))
  while kill -0 "$program_pid" 2>/dev/null; do
    if ((SECONDS > deadline)); then
      problems+=("program still running after 60 s")
      kill "$program_pid" 2>/dev/null
      break
    fi
    sleep 0.1
  done
  wait "$program_pid"
  program_status=$?
}

# check: compares the log's stable lines and the exit status with stdin.
check() {
  local expected actual deadline=$((SECONDS + 60))
  expected=$(cat)
  timeout 60 wine "$observer" stop >/dev/null 2>&1
  while kill -0 "$observer_pid" 2>/dev/null && ((SECONDS < deadline)); do sleep 0.1; done
  kill "$observer_pid" 2>/dev/null
  wait "$observer_pid" 2>/dev/null
  actual=$(grep -E -- "$keep" "$log"; echo "program exit=$program_status")
  if [[ $actual == "$expected" && ${#problems[@]} -eq 0 ]]; then
    echo "PASS $name"
    passed=$((passed + 1))
  else
    echo "FAIL $name"
    ((${#problems[@]})) && printf '  %s\n' "${problems[@]}"
    diff <(echo "$expected") <(echo "$actual") | sed 's/^/  /'
    failed=$((failed + 1))
  fi
}

# A stick on port 0 with two axes of 0..65535 that reports every 10 ms.
stick0='caps 0 buttons 4 axes 2 period 10 x 0 65535 y 0 65535'
stick1='caps 1 buttons 4 axes 2 period 10 x 0 65535 y 0 65535'

# What a start with a stick on port 0 only logs, after the device count.
up0='joystick capture port=0 period=10 changed=0 result=0
joystick capture port=1 period=0 changed=0 result=167
tray add size=88 window=capture id=2000 flags=7 message=1025 icon=1 tip="Quellpad 2.5"'
start0="joystick devices count=16
$up0"

end0='joystick script-done port=0
joystick release port=0 result=0
tray delete size=88 window=capture id=2000
program exit=0'

# run_script_then_exit: start, let the whole script play, exit from the menu.
run_script_then_exit() {
  start_program
  wait_log '^joystick script-done port=0$' && exit_program
  wait_program
}

