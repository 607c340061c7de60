#!/usr/bin/env bash
# How long an Xbox controller's change takes to become a key under Wine: the
# XInput stand-in changes button A by the clock (its "edges" line: a pause of
# 30 ms plus 0 to 11 ms before each change, so the changes fall at every
# phase of the program's reads), and the observer stamps each key event with
# the same performance counter. Two builds are taken in turns in one run.
# Not run by CTest: a measurement, not a check.
#
# Usage: tests/wine/xinput_latency.sh BUILD_DIR OTHER_EXE [EDGES [RUNS]]
#   BUILD_DIR  a mingw build folder: its quellpad.exe, the doubles and the
#              observer (default build/mingw)
#   OTHER_EXE  the quellpad.exe to compare with
#   EDGES      changes of the button per run (default 80)
#   RUNS       runs of each program (default 1)
# Prints, per program, the median, 90th percentile and maximum in ms over
# every edge of its runs, from the change to the key event the hook sees.
if [[ -z ${QP_INSIDE_XVFB:-} ]]; then
  export QP_OTHER_EXE QP_EDGES=${3:-80} QP_LATENCY_RUNS=${4:-1}
  QP_OTHER_EXE=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
  set -- "${1:-build/mingw}"
fi
source "$(dirname "$0")/harness.sh"
export QP_LOG_TIMES=1
edges=$QP_EDGES
declare -A samples

measure() {  # NAME EXE
  begin "latency-$1"
  cp "$2" "$dir/quellpad.exe"
  cp "$xinput_double" "$dir/"
  new_config "$cfg"
  set_key "$cfg" port1.source '"xbox 1"'
  bind "$cfg" 0 0 key=65  # A: "a"
  echo "edges 0 $edges 0x1000" > "$pads"
  start_program
  wait_log "^xinput edge 0 n=$((edges - 1)) " 30
  # The last change is at most edges * 41 ms after the first read, plus 0.5 s.
  sleep $(((edges * 41 + 500) / 1000 + 2))
  exit_program
  wait_program
  timeout 60 wine "$observer" stop >/dev/null 2>&1
  wait "$observer_pid" 2>/dev/null
  # Edge n is a press for even n, a release for odd n: pair each with the
  # n-th key event of vk 65.
  samples[$1]+=$(awk '
    /^xinput edge 0 / { split($4, n, "="); split($5, t, "="); at[n[2]] = t[2] }
    /^key (down|up) vk=65 / { split($NF, t, "="); key[k++] = t[2] }
    END { for (i = 0; i < k; ++i) if (i in at) printf "%.3f\n", (key[i] - at[i]) / 1000 }' "$log")$'\n'
  echo "$1: $(grep -c '^key .* vk=65 ' "$log") key events for $edges edges"
}

for ((run = 1; run <= QP_LATENCY_RUNS; ++run)); do
  if ((run % 2)); then
    measure this "$program"; measure other "$QP_OTHER_EXE"
  else
    measure other "$QP_OTHER_EXE"; measure this "$program"
  fi
done
for which in this other; do
  printf '%s' "${samples[$which]}" | grep -v '^$' | sort -n | awk -v name="$which" '
    { v[NR] = $1 }
    END { if (NR == 0) { print name ": no samples"; exit }
          printf "%s: %d edges, median %.2f ms, p90 %.2f ms, max %.2f ms\n", name, NR,
                 v[int((NR + 1) / 2)], v[int(NR * 0.9 + 0.5)], v[NR] }'
done
