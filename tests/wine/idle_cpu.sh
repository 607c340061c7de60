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
# Prints one line per run and the totals, in clock ticks (1/100 s) of user
# plus system time of the program's process.
# The harness starts this script again inside the virtual display with the
# build folder alone, so the rest travels in the environment.
if [[ -z ${QP_INSIDE_XVFB:-} ]]; then
  export QP_OTHER_EXE QP_IDLE_SECONDS=${3:-30} QP_IDLE_RUNS=${4:-3}
  QP_OTHER_EXE=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
  set -- "${1:-build/mingw}"
fi
source "$(dirname "$0")/harness.sh"
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
  echo "$stick0" > "$script"
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
  echo "$1 ($name, $2): $((after - before)) ticks in $seconds s"
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
