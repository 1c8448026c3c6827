#!/usr/bin/env bash
# End to end: renders the default animation and a textured, dithered,
# supercompressed one with `glyphwright render`, renders the equivalent
# scrolling, shadowed, outlined text with ImageMagick (frames drawn with
# convert, then -layers Optimize), and reports wall time and GIF bytes for
# both, with the bytes gifsicle -O3 makes of our unsupercompressed output.
#   bench/e2e_compare.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build}
cli="$build/cli/glyphwright"
[ -x "$cli" ] || { echo "no $cli: build first (scripts/build.sh)"; exit 1; }
need=()
command -v gifsicle >/dev/null || need+=(gifsicle)
[ -x /usr/bin/convert ] || need+=(imagemagick)
if [ ${#need[@]} -gt 0 ]; then
  apt-get install -y -q --no-install-recommends "${need[@]}" >/dev/null
fi
out=$(mktemp -d /tmp/gw-e2e.XXXXXX)
trap 'rm -rf "$out"' EXIT

seconds() { local t0 t1; t0=$(date +%s.%N); "$@" >/dev/null 2>&1; t1=$(date +%s.%N); echo "$t1 - $t0" | bc -l; }
bytes() { stat -c %s "$1"; }

t_default=$(seconds "$cli" render --quiet -o "$out/default.gif")
t_textured=$(seconds "$cli" render --quiet --face texture:0 --dither --supercompress -o "$out/textured.gif")
t_plain=$(seconds "$cli" render --quiet --no-supercompress -o "$out/plain.gif")
gifsicle -O3 "$out/plain.gif" -o "$out/plain-O3.gif"
t_super=$(seconds "$cli" render --quiet --supercompress -o "$out/super.gif")

# The same animation drawn frame by frame with ImageMagick: 64 frames of the
# text scrolling right to left with a soft shadow and an outline.
font=$(fc-match -f '%{file}' 'Impact:bold')
w=$(identify -format '%w' "$out/default.gif[0]")
h=$(identify -format '%h' "$out/default.gif[0]")
im_frames() {
  for i in $(seq 0 63); do
    x=$(( w - (2 * w * i) / 64 ))
    /usr/bin/convert -size "${w}x${h}" xc:'#7f7f7f' -font "$font" -pointsize 80 \
      \( -size "${w}x${h}" xc:none -fill '#7f7f7f' -annotate +$((x + 4))+$((h - 20)) 'This space for rent...' -blur 0x6 \) -composite \
      -fill '#808080' -stroke '#333333' -strokewidth 2 -annotate +$x+$((h - 24)) 'This space for rent...' \
      "$out/im-$(printf %02d "$i").png"
  done
  /usr/bin/convert -delay 5 -loop 0 "$out"/im-*.png -layers Optimize "$out/imagemagick.gif"
}
t_im=$(seconds im_frames)

printf '| run | wall time (s) | GIF bytes |\n|---|---|---|\n'
printf '| glyphwright default (64 frames) | %.3f | %d |\n' "$t_default" "$(bytes "$out/default.gif")"
printf '| glyphwright textured, dithered, supercompressed | %.3f | %d |\n' "$t_textured" "$(bytes "$out/textured.gif")"
printf '| glyphwright, no supercompression | %.3f | %d |\n' "$t_plain" "$(bytes "$out/plain.gif")"
printf '| gifsicle -O3 of that | - | %d |\n' "$(bytes "$out/plain-O3.gif")"
printf '| glyphwright, supercompressed | %.3f | %d |\n' "$t_super" "$(bytes "$out/super.gif")"
printf '| ImageMagick equivalent (64 frames, -layers Optimize) | %.3f | %d |\n' "$t_im" "$(bytes "$out/imagemagick.gif")"
printf 'speed-up over ImageMagick: %.1fx\n' "$(echo "$t_im / $t_default" | bc -l)"
