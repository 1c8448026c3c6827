#!/usr/bin/env bash
# Compares the frames the Win32 suite's Test build handed to its host (saved
# by build_tests.cpp) with the native build of the same settings. The two
# letter rasterisers (GDI under wine, FreeType natively) may differ along
# letter edges, so a frame passes when fewer than 3% of its pixels differ by
# more than 8%.
#   tests/win32/compare_with_native.sh NATIVE_BUILD_DIR WIN32_BUILD_DIR
set -uo pipefail
native=${1:?usage: compare_with_native.sh NATIVE_BUILD WIN32_BUILD}
win32=${2:?usage: compare_with_native.sh NATIVE_BUILD WIN32_BUILD}
here=$(cd "$(dirname "$0")" && pwd)
out=$(mktemp -d /tmp/gw-compare.XXXXXX)
trap 'rm -rf "$out"' EXIT
"$native/cli/glyphwright" render --quiet --test --config "$here/data/build_test.ini" -o "$out/native.png" >/dev/null || {
  echo "compare: 0 passed, 1 failed (the native build failed)"; exit 1; }
passed=0 failed=0
for i in 0 1 2 3 4 5; do
  wine_frame="$win32/win32-screenshots/gw_build_frame_0$i.bmp"
  native_frame="$out/native-000$i.png"
  if [ ! -f "$wine_frame" ] || [ ! -f "$native_frame" ]; then
    echo "frame $i: missing ($wine_frame or $native_frame)"; failed=$((failed + 1)); continue
  fi
  size_w=$(/usr/bin/identify -format '%wx%h' "$wine_frame")
  size_n=$(/usr/bin/identify -format '%wx%h' "$native_frame")
  pixels=$(/usr/bin/identify -format '%[fx:w*h]' "$native_frame")
  if [ "$size_w" != "$size_n" ]; then
    echo "frame $i: wine $size_w, native $size_n"; failed=$((failed + 1)); continue
  fi
  differ=$(/usr/bin/compare -metric AE -fuzz 8% "$wine_frame" "$native_frame" null: 2>&1 | cut -d' ' -f1)
  share=$(echo "scale=4; 100 * $differ / $pixels" | bc)
  if [ "$(echo "$share < 3" | bc)" = 1 ]; then
    echo "frame $i: $size_n, $differ pixels differ ($share%)"; passed=$((passed + 1))
  else
    echo "frame $i: $size_n, $differ pixels differ ($share%) - too many"; failed=$((failed + 1))
  fi
done
echo "compare: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
