#!/usr/bin/env bash
# Draws omni_animation.gif: the animation the "Omni" comparison lays its text
# over, six full frames (no transparency, no frame differencing) of a ball
# rolling over striped ground under an evening sky, so that both hosts'
# readings of it can only differ if one of them composites wrongly.
#   tests/win32/data/make_omni_animation.sh   (needs ImageMagick)
set -euo pipefail
cd "$(dirname "$0")"
frames=()
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
for k in 0 1 2 3 4 5; do
  x=$((20 + 32 * k))
  /usr/bin/convert -size 200x80 gradient:'#203870-#e08040' \
    -fill '#305020' -draw 'rectangle 0,62 199,79' \
    -fill '#406830' -draw "rectangle $((k * 8 - 40)),62 $((k * 8 - 20)),79 rectangle $((k * 8)),62 $((k * 8 + 20)),79 rectangle $((k * 8 + 40)),62 $((k * 8 + 60)),79 rectangle $((k * 8 + 80)),62 $((k * 8 + 100)),79 rectangle $((k * 8 + 120)),62 $((k * 8 + 140)),79 rectangle $((k * 8 + 160)),62 $((k * 8 + 180)),79" \
    -fill '#f0e040' -stroke '#a03010' -strokewidth 2 -draw "circle $x,48 $((x + 13)),48" \
    +dither -colors 64 "$tmp/f$k.png"
  frames+=(-delay $((6 + k)) "$tmp/f$k.png")
done
/usr/bin/convert -dispose none "${frames[@]}" -loop 0 +dither omni_animation.gif
/usr/bin/identify omni_animation.gif
