#!/usr/bin/env bash
# The Windows build of quellpad-cfg under Wine, on every example: build the
# example's configuration with the exe, show it, build the shown text again,
# and the two configuration files must be the same bytes. A console program
# needs no display, so this runs without X.
#
# Usage: tests/wine/tool_examples.sh MINGW_BUILD_DIR
#        (build it first: cmake --preset mingw && cmake --build --preset mingw)
# Prints PASS or FAIL per example, then "N passed, M failed".
# Exit status: 0 when all passed, 1 when any failed, 2 when it could not run.
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
examples=$here/../../examples
build=${1:?usage: tests/wine/tool_examples.sh MINGW_BUILD_DIR}
tool=$build/tools/quellpad-cfg/quellpad-cfg.exe

if [[ ! -f $tool ]]; then
  echo "missing $tool (build: cmake --preset mingw && cmake --build --preset mingw)" >&2
  exit 2
fi
for command in wine wineserver timeout cmp; do
  command -v "$command" >/dev/null || { echo "missing $command: run scripts/setup-wine.sh" >&2; exit 2; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/quellpad-cfg-wine.XXXXXX")
export WINEPREFIX=$work/prefix WINEARCH=win32 WINEDEBUG=-all
# No window is ever made; without a display Wine must not look for one.
unset DISPLAY WAYLAND_DISPLAY
trap 'timeout 30 wineserver -k >/dev/null 2>&1; rm -rf "$work"' EXIT

if ! timeout 300 wine wineboot -i >/dev/null 2>&1 || ! timeout 120 wineserver -w; then
  echo "could not create the Wine prefix" >&2
  exit 2
fi

winpath() { local path=${1//\//\\}; printf 'Z:%s' "$path"; }

# cfg ARGS...: the exe under Wine; its output on stdout, its complaints in
# $work/err. Wine's console turns line ends into CR LF.
cfg() {
  timeout 60 wine "$tool" "$@" 2>"$work/err" | tr -d '\r'
  return "${PIPESTATUS[0]}"
}

passed=0 failed=0
for example in "$examples"/*.toml; do
  name=$(basename "$example" .toml)
  dir=$work/$name
  mkdir -p "$dir"
  cp "$example" "$dir/example.toml"
  problem=
  if ! cfg build "$(winpath "$dir/example.toml")" -o "$(winpath "$dir/built.cfg")" >/dev/null; then
    problem="build of the example failed: $(tr -d '\r' < "$work/err")"
  elif ! cfg show "$(winpath "$dir/built.cfg")" > "$dir/shown.toml"; then
    problem="show failed: $(tr -d '\r' < "$work/err")"
  elif ! cfg build "$(winpath "$dir/shown.toml")" -o "$(winpath "$dir/rebuilt.cfg")" >/dev/null; then
    problem="build of the shown text failed: $(tr -d '\r' < "$work/err")"
  elif (($(stat -c %s "$dir/built.cfg") < 6724)); then  # the 6724 bytes, then any chunks
    problem="built.cfg is $(stat -c %s "$dir/built.cfg") bytes, fewer than 6724"
  elif ! cmp "$dir/built.cfg" "$dir/rebuilt.cfg"; then
    problem="the rebuilt configuration differs from the built one"
  fi
  if [[ -z $problem ]]; then
    echo "PASS $name"
    passed=$((passed + 1))
  else
    echo "FAIL $name: $problem"
    failed=$((failed + 1))
  fi
done

echo "$passed passed, $failed failed"
if ((passed + failed == 0)); then
  echo "no example in $examples" >&2
  exit 2
fi
((failed == 0))
