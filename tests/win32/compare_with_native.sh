#!/usr/bin/env bash
# Compares the frames of every effect's Test build that the Win32 suite's
# host was handed (build_tests.cpp) with the native build of the same
# settings (tests/win32/data/effects/*.ini), frame by frame with the
# letter-edge tolerance of frame_compare.sh. One line per effect, then a total.
#   tests/win32/compare_with_native.sh NATIVE_BUILD_DIR WIN32_BUILD_DIR
set -uo pipefail
native=${1:?usage: compare_with_native.sh NATIVE_BUILD WIN32_BUILD}
win32=${2:?usage: compare_with_native.sh NATIVE_BUILD WIN32_BUILD}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/frame_compare.sh"
out=$(mktemp -d /tmp/gw-compare.XXXXXX)
trap 'rm -rf "$out"' EXIT
export GLYPHWRIGHT_APPDATA=$out GLYPHWRIGHT_DOCUMENTS=$out
glyphwright="$native/cli/glyphwright"
# The effects' names in table order ("12 Simple (page 7400, keys Style000)").
mapfile -t names < <("$glyphwright" effects | sed -n 's/^ *[0-9][0-9]* \(.*\) (page .*/\1/p')
passed=0 failed=0
for ini in "$here"/data/effects/*.ini; do
  stem=$(basename "$ini" .ini)
  index=$(sed -n 's/^MainEffect = \([0-9]*\)/\1/p' "$ini")
  label=${names[$index]:-$stem}
  # An animation the settings name is handed over from the same file.
  animation=()
  anim=$(sed -n 's/^Style011AnimPath = //p' "$ini")
  [ -n "$anim" ] && animation=(--animation "$here/data/$anim")
  if ! "$glyphwright" render --quiet --test --config "$ini" "${animation[@]}" -o "$out/$stem.png" >/dev/null; then
    printf '%-16s the native build failed\n' "$label:"; failed=$((failed + 1)); continue
  fi
  if compare_frame_sets "$label" "$win32/win32-screenshots/gw_effect_$stem" "$out/$stem"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
  fi
done
echo "total: $frames_compared frames of $((passed + failed)) effects, worst share ${worst_share}%"
echo "compare: $passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
