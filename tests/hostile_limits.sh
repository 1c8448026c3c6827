#!/usr/bin/env bash
# Hostile but short command lines stay within a memory ceiling: each runs
# under `ulimit -v` (virtual memory) and must end with a one-line refusal
# (exit 1), never a crash, a kill or a file. The `timeout` only turns a hang
# (a reader that never meets the end of /dev/zero) into a failure; it is far
# above what any of these takes, and their speed is bench/'s to measure.
# Usage: hostile_limits.sh PATH/TO/glyphwright
set -u
gw=${1:?usage: hostile_limits.sh glyphwright}
dir=$(mktemp -d /tmp/gw-limits-XXXXXX)
trap 'rm -rf "$dir"' EXIT
# A 68-byte PNG whose header claims 65535 x 65535 pixels.
printf '\x89PNG\r\n\x1a\n\x00\x00\x00\x0dIHDR\x00\x00\xff\xff\x00\x00\xff\xff\x08\x02\x00\x00\x009gN\x07\x00\x00\x00\x0bIDATx\x9cc`\x80\x01\x00\x00\x0a\x00\x01\x7f\x80t^\x00\x00\x00\x00IEND\xaeB`\x82' >"$dir/huge.png"
# A 32-byte GIF whose screen is 30000 x 20000 (1.8 GB a frame) over one pixel.
printf 'GIF89a\x30\x75\x20\x4e\x80\x00\x00\xff\xff\xff\x00\x00\x00\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00\x3b' >"$dir/screen.gif"
letters=$(printf 'W%.0s' $(seq 260))
failures=0
# memory ceiling in KiB, then the command line
hang=120
check() {
  local kib=$1
  shift
  local start=$SECONDS
  (ulimit -v "$kib"; exec timeout "$hang" "$gw" "$@") >"$dir/out" 2>&1
  local rc=$?
  if [ "$rc" -ne 1 ] || [ -e "$dir/x.gif" ] || [ -e "$dir/x.gif.tmp" ]; then
    echo "FAIL (exit $rc, $((SECONDS - start)) s): $*"
    cat "$dir/out"
    failures=$((failures + 1))
  else
    echo "ok   ($((SECONDS - start)) s): $* -> $(head -c 200 "$dir/out" | tail -n 1)"
  fi
}
check 300000 quantize "$dir/huge.png" -o "$dir/x.gif"
check 300000 tile build "$dir/x.gif" "$dir/huge.png"
check 300000 settings --file /dev/zero
check 300000 settings --file /dev/urandom
check 300000 render -q --config /dev/zero -o "$dir/x.gif"
check 300000 material --document /dev/zero -o "$dir/x.gif"
check 300000 render -q --animation "$dir/screen.gif" -o "$dir/x.gif"
# Refused for its size before the memory is asked for, not by running out.
if ! grep -q "too large" "$dir/out"; then
  echo "FAIL: the 30000 x 20000 screen was not refused for its size"
  failures=$((failures + 1))
fi
check 300000 render -q -o /no/such/folder/x.gif
check 300000 render -q -o /proc/x.gif
check 600000 render -q --size 1000 --set Style000Frames=100000 -o "$dir/x.gif"
check 600000 render -q --size 120 --text "$letters" --set Style000Frames=100000 -o "$dir/x.gif"
check 600000 render -q --size 400 --text "$letters" -o "$dir/x.gif"
# A five-layer fractal at the largest mesh inside an 80 x 80 fill: its mesh
# is bounded by the output (bench/texture_bench.cpp times it).
start=$SECONDS
if ! (ulimit -v 300000; exec timeout "$hang" "$gw" texture --size 80x80 --type 3 --mesh 2048 "$dir/t.png") >"$dir/out" 2>&1; then
  echo "FAIL ($((SECONDS - start)) s): texture --size 80x80 --type 3 --mesh 2048"
  cat "$dir/out"
  failures=$((failures + 1))
else
  echo "ok   ($((SECONDS - start)) s): texture --size 80x80 --type 3 --mesh 2048"
fi
[ "$failures" -eq 0 ]
