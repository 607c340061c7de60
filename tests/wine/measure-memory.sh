#!/usr/bin/env bash
# Peak resident memory of quellpad.exe under Wine against the smallest
# joystick-to-key program (minimal_mapper.cpp), both idle with a stick
# reporting every 10 ms through the joystick double; quellpad.exe also has its
# tray icon and a configuration with one binding. The two run alternately in
# one prefix, RUNS times each. The figure is VmHWM of the Wine process that
# runs the program, read after IDLE seconds of reports, just before it is
# told to exit (quellpad.exe) or ends by itself (the yardstick).
#
# Usage: tests/wine/measure-memory.sh [BUILD_DIR [QUELLPAD_CFG]]
#   QP_MEMORY_RUNS=N       runs of each program (default 5)
#   QP_MEMORY_IDLE=S       seconds of idle reports before the reading (default 5)
#   QP_MEMORY_VARIANTS="NAME=PATH ..."  further builds of quellpad.exe, measured
#                          in the same turn (each runs as quellpad.exe)
#   QP_MEMORY_MAPS=1       also the resident kB per mapped file at the reading
# Not part of the test suite: it asserts nothing and only prints figures.
source "$(dirname "$0")/harness.sh"

runs=${QP_MEMORY_RUNS:-5}
idle=${QP_MEMORY_IDLE:-5}
yardstick=$build/tests/wine/minimal_mapper.exe
[[ -f $yardstick ]] || { echo "missing $yardstick" >&2; exit 2; }

# The yardstick needs the double as much as the program does.
cat > "$work/yardstick.reg" <<'EOF'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\AppDefaults\minimal_mapper.exe\DllOverrides]
"winmm"="native,builtin"
EOF
timeout 120 wine regedit /S "$(winpath "$work/yardstick.reg")" >/dev/null 2>&1 && timeout 120 wineserver -w ||
  { echo "could not set up the prefix" >&2; exit 2; }

# wine_pid EXE: the Wine process of this prefix whose command line names EXE.
wine_pid() {
  local proc
  for proc in /proc/[0-9]*; do
    # Wine shows the program's own name, blank-padded, as the command line.
    { tr '\0' '\n' < "$proc/cmdline"; } 2>/dev/null | head -n 1 | sed 's/ *$//; s/.*[\\/]//' |
      grep -qixF -- "$1" || continue
    { tr '\0' '\n' < "$proc/environ"; } 2>/dev/null | grep -qxF -- "WINEPREFIX=$WINEPREFIX" || continue
    echo "${proc#/proc/}"
    return 0
  done
  return 1
}

status_kb() { awk -v key="$2:" '$1 == key { print $2 }' "/proc/$1/status" 2>/dev/null; }

# pe_field FILE OFFSET: a 32-bit field of a PE file's optional header.
pe_field() {
  local header
  header=$(od -An -tu4 -j 60 -N 4 "$1")
  od -An -tu4 -j $((header + 24 + $2)) -N 4 "$1" | tr -d ' '
}

# Resident kB per mapped file, largest first. The program's own image is
# partly copied into anonymous pages (its sections are not page-aligned in
# the file), so everything inside it counts as the program; the rest of the
# anonymous memory is [anon].
maps_kb() {
  local base size
  base=$(pe_field "$2" 28)
  size=$(pe_field "$2" 56)
  awk -v base="$base" -v size="$size" -v exe="$(basename "$2")" '
    /^[0-9a-f]+-[0-9a-f]+ / {
      split($1, range, "-")
      start = 0
      for (i = 1; i <= length(range[1]); ++i) start = start * 16 + index("0123456789abcdef", substr(range[1], i, 1)) - 1
      if (start >= base && start < base + size) name = exe
      else { name = NF >= 6 ? $6 : "[anon]"; sub(/.*\//, "", name) }
    }
    /^Rss:/ { rss[name] += $2 }
    END { for (n in rss) if (rss[n] > 0) printf "%s %d\n", n, rss[n] }' "/proc/$1/smaps" 2>/dev/null |
    sort -k2,2nr
}

# measure LABEL EXE: one run; prints "LABEL hwm=KB rss=KB".
measure() {
  local label=$1 exe=$2 name pid hwm rss
  name=$(basename "$exe")
  [[ $label != minimal ]] && name=quellpad.exe
  dir=$work/cases/$label-$run
  mkdir -p "$dir"
  cp "$exe" "$dir/$name"
  cp "$double" "$dir/"
  cp "$wine_winmm" "$dir/winmm_real.dll"
  log=$dir/log.txt
  script=$dir/script.txt
  : > "$log"
  problems=()
  export QP_LOG QP_JOYSTICK_SCRIPT
  QP_LOG=$(winpath "$log")
  QP_JOYSTICK_SCRIPT=$(winpath "$script")
  new_config "$dir/quellpad.CFG"
  bind "$dir/quellpad.CFG" 0 0 key=39
  printf '%s\n' "$stick0" 'report 0' 'report 0 buttons 1' 'report 0 buttons 0' > "$script"
  if [[ $label == minimal ]]; then
    (cd "$dir" && exec timeout 120 wine "$name" $(((idle + 5) * 100))) >/dev/null 2>&1 &
  else
    (cd "$dir" && exec timeout 120 wine "$name") >/dev/null 2>&1 &
  fi
  program_pid=$!
  hwm=
  if wait_log '^joystick script-done port=0$'; then
    sleep "$idle"
    pid=$(wine_pid "$name") || problems+=("no Wine process runs $name")
    if [[ -n $pid ]]; then
      hwm=$(status_kb "$pid" VmHWM)
      rss=$(status_kb "$pid" VmRSS)
      [[ -n ${QP_MEMORY_MAPS:-} ]] && maps_kb "$pid" "$dir/$name" > "$work/maps-$label"
    fi
  fi
  [[ $label != minimal ]] && exit_program
  wait_program
  if [[ -z $hwm || ${#problems[@]} -gt 0 ]]; then
    echo "$label run $run: no reading (${problems[*]})" >&2
    return 1
  fi
  echo "$label hwm=$hwm rss=$rss"
}

labels=(quellpad minimal)
exes=("$program" "$yardstick")
for variant in ${QP_MEMORY_VARIANTS:-}; do
  labels+=("${variant%%=*}")
  exes+=("${variant#*=}")
done

results=$work/results
: > "$results"
for ((run = 1; run <= runs; ++run)); do
  for i in "${!labels[@]}"; do
    line=$(measure "${labels[$i]}" "${exes[$i]}") || continue
    echo "run $run: $line"
    echo "$line" >> "$results"
  done
done

# Median of each program's peaks, and its ratio to the yardstick's.
echo "peak resident memory (VmHWM, kB), median of $runs runs:"
awk '{ sub(/hwm=/, "", $2); peaks[$1] = peaks[$1] " " $2 }
     END { for (label in peaks) print label, peaks[label] }' "$results" |
  while read -r label values; do
    median=$(printf '%s\n' $values | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }')
    echo "$label $median $values"
  done | sort > "$work/medians"
base=$(awk '$1 == "minimal" { print $2 }' "$work/medians")
awk -v base="$base" '{ printf "  %-12s %8.0f  (%.1f MB, %.3f x minimal)   runs:", $1, $2, $2 / 1024, base ? $2 / base : 0
                       for (i = 3; i <= NF; ++i) printf " %s", $i; printf "\n" }' "$work/medians"

if [[ -n ${QP_MEMORY_MAPS:-} ]]; then
  for label in "${labels[@]}"; do
    [[ $label == minimal ]] && continue
    echo "resident kB per mapping at the last reading: $label against minimal (difference first)"
    LC_ALL=C join -a1 -a2 -e 0 -o 0,1.2,2.2 <(LC_ALL=C sort "$work/maps-$label") <(LC_ALL=C sort "$work/maps-minimal") |
      awk '{ printf "  %-40s %7d %7d %+7d\n", $1, $2, $3, $2 - $3 }' | sort -k4,4nr
  done
fi
