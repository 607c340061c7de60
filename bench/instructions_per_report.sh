#!/usr/bin/env bash
# Instructions per report: callgrind over one benchmark of the optimised
# build, the instructions spent inside ProcessJoystickReport divided by the
# number of its calls from the benchmark. Steadier than a timing on a shared
# machine. Not run by CTest: a measurement, not a check.
#
# Usage: bench/instructions_per_report.sh [BENCH_BINARY] FILTER
#   e.g.  bench/instructions_per_report.sh build/bench/bench/quellpad_bench 'BM_IdleReport$'
set -uo pipefail
if (($# == 1)); then set -- build/bench/bench/quellpad_bench "$1"; fi
bin=$1 filter=$2
command -v valgrind >/dev/null || { echo "missing valgrind: apt-get install valgrind" >&2; exit 2; }
out=$(mktemp)
trap 'rm -f "$out"' EXIT
valgrind --tool=callgrind --callgrind-out-file="$out" --toggle-collect='*ProcessJoystickReport*' \
  "$bin" --benchmark_filter="$filter" --benchmark_min_time=0.01 >/dev/null 2>&1
total=$(grep -E '^(summary|totals):' "$out" | head -n 1 | awk '{ print $2 }')
calls=$(callgrind_annotate --inclusive=yes --tree=caller "$out" 2>/dev/null |
  grep -B1 -E '^ *[0-9,]+ +\([^)]*\) +\* .*ProcessJoystickReport' | grep -E '< .*BM_' |
  sed -E 's/.*\(([0-9,]+)x\).*/\1/' | tr -d , | awk '{ s += $1 } END { print s }')
awk -v f="$filter" -v t="$total" -v c="$calls" \
  'BEGIN { if (c > 0) printf "%s: %d instructions in %d reports, %.1f per report\n", f, t, c, t / c; else { print f ": no calls"; exit 1 } }'
