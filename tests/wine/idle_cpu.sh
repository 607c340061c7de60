#!/usr/bin/env bash
# The program's idle cost under Wine: CPU time of quellpad.exe with one stick
# reporting at rest every 10 ms on port 1 and port 2 free, for a fixed time,
# two builds taken in turns in one run so that both see the same machine.
# Not run by CTest: a measurement, not a check.
#
# Usage: tests/wine/idle_cpu.sh BUILD_DIR OTHER_EXE [SECONDS [RUNS]]
#   BUILD_DIR  a mingw build folder: its quellpad.exe, joystick double and
#              observer (default build/mingw)
#   OTHER_EXE  the quellpad.exe to compare with, run with the same double
#   SECONDS    measured time of each run after 3 s to settle (default 30)
#   RUNS       runs of each program (default 3)
#   QP_IDLE_PAD=1  port 1 reads Xbox controller 1 through the XInput
#              stand-in, connected and at rest, instead of the stick
# Prints one line per run and the totals, in clock ticks (1/100 s) of user
# plus system time of the program's process, and the messages its main thread
# took from its queue per second over the whole run.
# The harness starts this script again inside the virtual display with the
# build folder alone, so the rest travels in the environment.
if [[ -z ${QP_INSIDE_XVFB:-} ]]; then
  export QP_OTHER_EXE QP_IDLE_SECONDS=${3:-30} QP_IDLE_RUNS=${4:-3} QP_IDLE_PAD=${QP_IDLE_PAD:-}
  QP_OTHER_EXE=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
  set -- "${1:-build/mingw}"
fi
source "$(dirname "$0")/harness.sh"
export QP_COUNT_MESSAGES=1
seconds=$QP_IDLE_SECONDS
runs=$QP_IDLE_RUNS

# utime + stime of a process, in clock ticks.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

# The Windows program's own process: the child that timeout started.
program_process() {
  local child
  child=$(pgrep -P "$program_pid" | head -n 1)
  [[ -n $child ]] && echo "$child"
}

measure() {  # NAME EXE
  local process name before after
  begin "idle-$1"
  cp "$2" "$dir/quellpad.exe"
  new_config "$cfg"
  if [[ -n $QP_IDLE_PAD ]]; then
    cp "$xinput_double" "$dir/"
    set_key "$cfg" port1.source '"xbox 1"'
    build_config "$cfg"
    echo 'pad 0' > "$pads"
  else
    echo "$stick0" > "$script"
  fi
  start_program
  wait_log '^tray add ' 30
  sleep 3
  process=$(program_process)
  name=$(cat "/proc/$process/comm")
  before=$(cpu_ticks "$process")
  sleep "$seconds"
  after=$(cpu_ticks "$process")
  exit_program
  wait_program
  timeout 60 wine "$observer" stop >/dev/null 2>&1
  wait "$observer_pid" 2>/dev/null
  echo "$1 ($name, $2): $((after - before)) ticks in $seconds s;" \
    "$(awk '/^joystick messages / { split($3, c, "="); split($4, t, "="); printf "%.1f messages/s", c[2] * 1000 / t[2] }' "$log")"
  totals[$1]=$((${totals[$1]:-0} + after - before))
}

# Each pair in the other order, so that neither program always goes first.
declare -A totals
for ((run = 1; run <= runs; ++run)); do
  if ((run % 2)); then
    measure this "$program"
    measure other "$QP_OTHER_EXE"
  else
    measure other "$QP_OTHER_EXE"
    measure this "$program"
  fi
done
echo "this: ${totals[this]} ticks, other: ${totals[other]} ticks over $runs runs of $seconds s each"
