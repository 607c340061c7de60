# What the Wine cases and the demo share: a fresh 32-bit prefix on a virtual
# X display, configuration files built byte by byte, and a way to run
# quellpad.exe with the scripted joystick (winmm.dll, the driver double,
# beside the exe) and the observer logging the keyboard and mouse events and
# message boxes it produces.
#
# Sourced by tests/wine/run.sh and scripts/demo.sh, whose first argument is
# the build folder (default build/mingw). It re-runs the caller inside
# xvfb-run, so source it before doing anything else.
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=${1:-$here/../../build/mingw}
program=$build/quellpad.exe
double=$build/tests/wine/winmm.dll
observer=$build/tests/wine/observer.exe
wine_winmm=/usr/lib/i386-linux-gnu/wine/i386-windows/winmm.dll

for file in "$program" "$double" "$observer" "$wine_winmm"; do
  if [[ ! -f $file ]]; then
    echo "missing $file (build: cmake --preset mingw && cmake --build --preset mingw;" \
         "Wine: scripts/setup-wine.sh)" >&2
    exit 2
  fi
done
for tool in wine wineserver xvfb-run timeout; do
  command -v "$tool" >/dev/null || { echo "missing $tool: run scripts/setup-wine.sh" >&2; exit 2; }
done

# Everything below runs inside one virtual X display.
if [[ -z ${QP_INSIDE_XVFB:-} ]]; then
  export QP_INSIDE_XVFB=1
  exec timeout 1200 xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$build"
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

; Wine's own winmm would win over the double beside the exe.
[HKEY_CURRENT_USER\Software\Wine\AppDefaults\quellpad.exe\DllOverrides]
"winmm"="native,builtin"
EOF
if ! timeout 300 wine wineboot -i >/dev/null 2>&1 ||
   ! timeout 120 wine regedit /S "$(winpath "$work/settings.reg")" >/dev/null 2>&1 ||
   ! timeout 120 wineserver -w; then
  echo "could not create the Wine prefix" >&2
  exit 2
fi

# --- configuration files -----------------------------------------------------

# le32 FILE OFFSET VALUE: a little-endian 32-bit value, written in place.
le32() {
  local v=$(($3 & 0xFFFFFFFF))
  printf %b "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $((v & 255)) $((v >> 8 & 255)) $((v >> 16 & 255)) $((v >> 24)))" |
    dd of="$1" bs=1 seek="$2" conv=notrunc status=none
}

# new_config FILE: nothing bound, default settings.
new_config() {
  head -c 6724 /dev/zero > "$1"
  local i=0 value
  for value in 0 20 8 8 1 0 0 0 0; do le32 "$1" $((6688 + 4 * i)) "$value"; i=$((i + 1)); done
}

# setting FILE NAME VALUE
setting() {
  local names=(continuous sensitivity xStep yStep delay dynamic toggleLock digital dosMode) i
  for i in "${!names[@]}"; do [[ ${names[i]} == "$2" ]] && le32 "$1" $((6688 + 4 * i)) "$3"; done
}

# record_offset FILE PORT SLOT: where a binding lies. The hat slots lie in
# the HATS chunk after the 6724 bytes, which is added when the file has none.
record_offset() {
  if (($3 < 44)); then echo $(($2 * 3344 + $3 * 76)); return; fi
  if (($(stat -c %s "$1") == 6724)); then
    { printf 'HATS\x60\x02\x00\x00'; head -c 608 /dev/zero; } >> "$1"
  fi
  echo $((6724 + 8 + ($2 * 4 + $3 - 44) * 76))
}

# bind FILE PORT SLOT [shift] [control] [alt] [key=CODE] [text=TEXT] [mouse=ACTION]
# Slots: 0..31 buttons 1..32, 32 X+, 33 X-, 34 Y+ (raw minimum), 35 Y-,
# 44..47 hat up, right, down, left.
bind() {
  local file=$1 base item
  base=$(record_offset "$1" "$2" "$3")
  shift 3
  le32 "$file" "$base" 1
  for item in "$@"; do
    case $item in
      shift) le32 "$file" $((base + 4)) 1 ;;
      control) le32 "$file" $((base + 8)) 1 ;;
      alt) le32 "$file" $((base + 12)) 1 ;;
      key=*) le32 "$file" $((base + 16)) 1; le32 "$file" $((base + 20)) "${item#key=}" ;;
      text=*) le32 "$file" $((base + 24)) 1
              printf '%s' "${item#text=}" | dd of="$file" bs=1 seek=$((base + 28)) conv=notrunc status=none ;;
      mouse=*) le32 "$file" $((base + 68)) 1; le32 "$file" $((base + 72)) "${item#mouse=}" ;;
    esac
  done
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
  log=$dir/log.txt
  : > "$log"
  : > "$script"
  problems=()
  keep='^(joystick|key|mouse|box|tray) '
  program_pid=
  program_status=running
  export QP_LOG QP_JOYSTICK_SCRIPT
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

