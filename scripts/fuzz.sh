#!/usr/bin/env bash
# Builds the libFuzzer target (preset "fuzz") and runs it for a bounded time on
# a copy of the seed corpus. Fails on any finding, and when the committed
# corpus is no longer what tests/fuzz/make_seeds.cpp writes.
# Usage: scripts/fuzz.sh [SECONDS]   (default 60, or QUELLPAD_FUZZ_SECONDS)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-${QUELLPAD_FUZZ_SECONDS:-60}}

bash scripts/setup-debian.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)" >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/seeds" "$work/corpus"

build/fuzz/tests/fuzz/quellpad_make_seeds "$work/seeds"
if ! diff -r "$work/seeds" tests/fuzz/corpus >/dev/null; then
  echo "fuzz: tests/fuzz/corpus differs from what quellpad_make_seeds writes; regenerate it" >&2
  exit 1
fi

cp tests/fuzz/corpus/* "$work/corpus/"
status=0
build/fuzz/tests/fuzz/quellpad_fuzz -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
  -artifact_prefix="$work/" "$work/corpus" >"$work/log" 2>&1 || status=$?

runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log")
if ((status != 0)) || compgen -G "$work/crash-*" >/dev/null || compgen -G "$work/leak-*" >/dev/null ||
   compgen -G "$work/timeout-*" >/dev/null || compgen -G "$work/oom-*" >/dev/null; then
  mkdir -p build/fuzz/findings
  cp "$work"/crash-* "$work"/leak-* "$work"/timeout-* "$work"/oom-* build/fuzz/findings/ 2>/dev/null || true
  tail -n 60 "$work/log" >&2
  echo "fuzz: FAILED after ${runs:-?} executions; inputs kept in build/fuzz/findings/" >&2
  exit 1
fi
echo "fuzz: ${runs} executions in ${seconds} s, no findings"
