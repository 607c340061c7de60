#!/usr/bin/env bash
# Runs every fuzz target of an existing fuzz build (preset "fuzz") on a copy
# of its seed corpus, the given time shared between them. Fails on any
# finding, when a corpus is no longer what its seed writer writes, and when
# the build holds a fuzz target that the list below lacks. It installs and
# builds nothing: scripts/fuzz.sh does that, CTest calls this directly.
# Usage: scripts/fuzz-run.sh BUILD_DIR SECONDS
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

if (($# != 2)) || [[ ! $2 =~ ^[0-9]+$ ]]; then
  echo "usage: scripts/fuzz-run.sh BUILD_DIR SECONDS" >&2
  exit 2
fi
bin=$1/tests/fuzz
seconds=$2

# One fuzz target a line: its program in BUILD_DIR/tests/fuzz, its corpus in
# tests/fuzz, and the program that writes that corpus ("-" if none does).
targets=(
  "quellpad_fuzz corpus quellpad_make_seeds"
  "quellpad_fuzz_toml corpus-toml -"
  "quellpad_fuzz_trace corpus-trace -"
)

listed=()
for entry in "${targets[@]}"; do
  read -r binary _ _ <<<"$entry"
  listed+=("$binary")
  if [[ ! -x $bin/$binary ]]; then
    echo "fuzz: $bin/$binary is missing; build it with: cmake --preset fuzz && cmake --build --preset fuzz" >&2
    exit 2
  fi
done
# A target built but not listed would never run.
for program in "$bin"/quellpad_fuzz*; do
  [[ -x $program ]] || continue
  if [[ " ${listed[*]} " != *" $(basename "$program") "* ]]; then
    echo "fuzz: $(basename "$program") is built but not listed in scripts/fuzz-run.sh" >&2
    exit 2
  fi
done

share=$((seconds / ${#targets[@]}))
((share > 0)) || share=1

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
for entry in "${targets[@]}"; do
  read -r binary corpus seeder <<<"$entry"
  mkdir "$work/$binary"
  if [[ $seeder != - ]]; then
    mkdir "$work/$binary/seeds"
    "$bin/$seeder" "$work/$binary/seeds"
    if ! diff -r "$work/$binary/seeds" "$root/tests/fuzz/$corpus" >/dev/null; then
      echo "fuzz: tests/fuzz/$corpus differs from what $seeder writes; regenerate it" >&2
      failed=1
      continue
    fi
  fi
  mkdir "$work/$binary/corpus" "$work/$binary/found"
  cp "$root/tests/fuzz/$corpus"/* "$work/$binary/corpus/"
  status=0
  "$bin/$binary" -max_total_time="$share" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$work/$binary/found/" "$work/$binary/corpus" >"$work/$binary/log" 2>&1 || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/$binary/log")
  if ((status != 0)) || [[ -n $(ls -A "$work/$binary/found") ]]; then
    kept=$1/findings/$binary
    mkdir -p "$kept"
    cp "$work/$binary/found"/* "$kept/" 2>/dev/null || true
    tail -n 60 "$work/$binary/log" >&2
    echo "fuzz: $binary FAILED after ${runs:-?} executions; inputs kept in $kept/" >&2
    failed=1
  else
    echo "fuzz: $binary: ${runs} executions in ${share} s, no findings"
  fi
done
exit "$failed"
