#!/usr/bin/env bash
# End to end against the strongest peers, in one run: the default animation
# ("This space for rent..." scrolling through an 865x102 frame, 64 frames,
# soft shadow, outline) made by `glyphwright render`, by ImageMagick and by FFmpeg,
# each the way a skilled user would: ImageMagick draws the styled text once and
# composes all 64 frames in one `convert` with -layers Optimize; FFmpeg draws
# and scrolls the text with drawtext and makes the palette with palettegen /
# paletteuse in one filter graph. Every time is the best of N runs (N=5, or
# GW_BENCH_RUNS). It also reports glyphwright's other outputs and the bytes
# gifsicle -O3 makes of its unsupercompressed one.
#   bench/e2e_compare.sh [BUILD_DIR]
# Needs: apt-get install imagemagick ffmpeg gifsicle bc
#
# Where the peers' animation differs from ours:
# - both: the frame size, frame count, font file (fontconfig's choice for
#   "Impact" bold, as ours), colours, outline, shadow offset and scroll path
#   are ours; the letter size is matched by height, the shadow's softness by
#   eye (a Gaussian blur, sigma 3), and the outline is the font renderer's
#   stroke, not our outline.
# - FFmpeg: drawtext has no letter spacing and no soft shadow, so its text is
#   about 10% wider than ours (character space 90%) and its shadow is hard; a
#   constant frame rate gives every frame 5 cs, without our 1 s pauses at the
#   middle and the end.
# - ImageMagick: letter spacing by -kerning, close to ours; -layers Optimize
#   gives each frame its own palette where ours share one.
set -euo pipefail
build=${1:-build}
cli="$build/cli/glyphwright"
[ -x "$cli" ] || { echo "no $cli: build first (scripts/build.sh)"; exit 1; }
convert=/usr/bin/convert  # ImageMagick's own, not a wrapper earlier on PATH
need=()
for tool in gifsicle ffmpeg bc; do command -v $tool >/dev/null || need+=($tool); done
[ -x $convert ] || need+=(imagemagick)
if [ ${#need[@]} -gt 0 ]; then
  echo "missing: ${need[*]} (apt-get install ${need[*]})"; exit 1
fi
runs=${GW_BENCH_RUNS:-5}
out=$(mktemp -d /tmp/gw-e2e.XXXXXX)
trap 'rm -rf "$out"' EXIT

# The best wall time of `runs` runs of a command, in seconds.
best_of() {
  local best="" t0 t1 t i
  for ((i = 0; i < runs; i++)); do
    t0=$(date +%s.%N)
    "$@" >/dev/null 2>&1
    t1=$(date +%s.%N)
    t=$(echo "$t1 - $t0" | bc -l)
    if [ -z "$best" ] || [ "$(echo "$t < $best" | bc -l)" = 1 ]; then best=$t; fi
  done
  echo "$best"
}
bytes() { stat -c %s "$1"; }
frames() { /usr/bin/identify "$1" | wc -l; }
size() { /usr/bin/identify -format '%wx%h' "$1[0]"; }

t_default=$(best_of "$cli" render --quiet -o "$out/default.gif")
t_textured=$(best_of "$cli" render --quiet --face texture:0 --dither --supercompress -o "$out/textured.gif")
t_plain=$(best_of "$cli" render --quiet --no-supercompress -o "$out/plain.gif")
gifsicle -O3 "$out/plain.gif" -o "$out/plain-O3.gif"
t_super=$(best_of "$cli" render --quiet --supercompress -o "$out/super.gif")

# The peers draw our default: its size, colours and settings.
font=$(fc-match -f '%{file}' 'Impact:bold')
w=$(/usr/bin/identify -format '%w' "$out/default.gif[0]")
h=$(/usr/bin/identify -format '%h' "$out/default.gif[0]")
fill='#407EBD' outline='#333333' shadow='#7F7F7F' back='#FFFFFF'
# Letter size, spacing, outline and top edge measured on our middle frame
# (letters 79 px high, 827 px wide, their top 15 px down).
text='This space for rent...' points=77 kerning=-4 stroke=3 top=13 count=64 delay=5 pause=105

# ImageMagick: the styled text once (outline, soft shadow 4 px down and
# right), then every frame composed from it in one process. Frame i puts the
# text at -width + i*(w+width)/63: in from the left, centred in the middle
# frame, out to the right, like ours.
imagemagick() {
  local width
  width=$($convert -background none -font "$font" -pointsize $points -kerning $kerning \
    -fill "$fill" -stroke "$outline" -strokewidth $stroke label:"$text" \
    \( +clone -background "$shadow" -shadow 100x3+4+4 \) +swap -background none -layers merge +repage \
    -trim +repage -write "$out/im-text.png" -format '%w' info:)
  local args=(-size "${w}x${h}" xc:"$back" -write mpr:back +delete "$out/im-text.png" -write mpr:text +delete)
  local i x d
  for ((i = 0; i < count; i++)); do
    x=$((-width + i * (w + width) / (count - 1)))
    d=$delay
    if [ $i -eq $((count / 2 - 1)) ] || [ $i -eq $((count - 1)) ]; then d=$pause; fi
    args+=(-delay $d \( mpr:back mpr:text -geometry "$(printf '%+d%+d' $x $top)" -composite \))
  done
  $convert "${args[@]}" -loop 0 -layers Optimize "$out/imagemagick.gif"
}
t_im=$(best_of imagemagick)

# FFmpeg: one filter graph; drawtext scrolls by the frame number n.
ffmpeg_run() {
  # palettegen waits for the end of its input: trim ends the endless colour source.
  ffmpeg -nostdin -v error -y -f lavfi -i "color=c=${back/\#/0x}:s=${w}x${h}:r=$((100 / delay)),format=rgb24" \
    -filter_complex "[0]trim=end_frame=$count,drawtext=fontfile=$font:text='$text':fontsize=$points:fontcolor=${fill/\#/0x}:borderw=$((stroke - 1)):bordercolor=${outline/\#/0x}:shadowx=4:shadowy=4:shadowcolor=${shadow/\#/0x}:x=-tw+n*(w+tw)/$((count - 1)):y=$((top + 4)),split[a][b];[a]palettegen[p];[b][p]paletteuse" \
    -loop 0 "$out/ffmpeg.gif"
}
t_ff=$(best_of ffmpeg_run)

printf 'best of %d runs each; font %s\n\n' "$runs" "$(basename "$font")"
printf '| run | wall time (s) | GIF bytes | frames |\n|---|---|---|---|\n'
row() { printf '| %s | %s | %d | %s |\n' "$1" "$2" "$(bytes "$3")" "$(frames "$3") x $(size "$3")"; }
row "glyphwright default" "$(printf %.3f "$t_default")" "$out/default.gif"
row "glyphwright textured, dithered, supercompressed" "$(printf %.3f "$t_textured")" "$out/textured.gif"
row "glyphwright, no supercompression" "$(printf %.3f "$t_plain")" "$out/plain.gif"
row "gifsicle -O3 of that" "-" "$out/plain-O3.gif"
row "glyphwright, supercompressed" "$(printf %.3f "$t_super")" "$out/super.gif"
row "ImageMagick, one process, -layers Optimize" "$(printf %.3f "$t_im")" "$out/imagemagick.gif"
row "FFmpeg, drawtext + palettegen/paletteuse" "$(printf %.3f "$t_ff")" "$out/ffmpeg.gif"
printf '\nImageMagick time / glyphwright default time: %.1fx\n' "$(echo "$t_im / $t_default" | bc -l)"
printf 'FFmpeg time / glyphwright default time: %.1fx\n' "$(echo "$t_ff / $t_default" | bc -l)"
if [ -n "${GW_BENCH_KEEP:-}" ]; then
  mkdir -p "$GW_BENCH_KEEP" && cp "$out"/*.gif "$GW_BENCH_KEEP"/
fi
