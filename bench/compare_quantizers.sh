#!/usr/bin/env bash
# Compares `glyphwright quantize` (the build's own quantizer and remapping)
# with pngquant at speeds 1, 4 (its default) and 10, and FFmpeg's
# palettegen/paletteuse, on the same pictures: rendered text (flat colours,
# anti-aliased edges, gradients, outlines, soft shadows, glows) and textures
# (a smooth colour field and a grainy one), all at 256 colours. Every output
# is measured by the same code (`glyphwright quantize IN --compare OUT`:
# MSE over red, green and blue, PSNR); wall time and CPU time (user and
# system, which a loaded machine disturbs less) are each the best of three
# runs and include each tool's own start, PNG reading and writing. The last table puts
# each picture's palette beside pngquant's default and fastest speeds.
#   bench/compare_quantizers.sh [BUILD_DIR] [WIDTH HEIGHT]
# BUILD_DIR (default build) is configured with -DGW_BUILD_BENCH=ON if needed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
width=${2:-800}
height=${3:-600}
cli="$build/cli/glyphwright"
maker="$build/make_bench_images"

need=()
command -v pngquant >/dev/null || need+=(pngquant)
command -v ffmpeg >/dev/null || need+=(ffmpeg)
if [ ${#need[@]} -gt 0 ]; then
  apt-get install -y -q --no-install-recommends "${need[@]}" >/dev/null ||
    { apt-get update -q >/dev/null && apt-get install -y -q --no-install-recommends "${need[@]}" >/dev/null; }
fi
if [ ! -x "$maker" ] || [ ! -x "$cli" ]; then
  cmake -S "$root" -B "$build" -DGW_BUILD_BENCH=ON >/dev/null
  cmake --build "$build" -j2 --target glyphwright make_bench_images >/dev/null
fi

out=$(mktemp -d /tmp/gw-quantize.XXXXXX)
trap 'rm -rf "$out"' EXIT
"$maker" "$out" "$width" "$height" >/dev/null
images=()
for ppm in "$out"/*.ppm; do
  name=$(basename "$ppm" .ppm)
  ffmpeg -nostdin -v error -y -i "$ppm" -pix_fmt rgb24 "$out/$name.png"
  images+=("$name")
done

# What this product makes, rendered by it: gradient and texture faces, soft
# shadows (black and coloured), outlines, effects' own decorations, and
# several frames of a build stacked into one picture (a build's palette
# serves all its frames at once). A single picture is the fourth of eight
# frames, where the scrolling line is whole.
frames() {  # NAME COUNT render options...: COUNT true-colour frames stacked
  local name=$1 count=$2
  shift 2
  "$cli" render --quiet --true-colour --frames 8 "$@" -o "$out/$name-f.png" >/dev/null
  local parts=()
  for ((i = 0; i < count; i++)); do parts+=("$out/$name-f-$(printf %04d "$i").png"); done
  if [ "$count" -eq 1 ]; then
    cp "$out/$name-f-0003.png" "$out/$name.png"
  else
    ffmpeg -nostdin -v error -y $(printf -- '-i %s ' "${parts[@]}") \
      -filter_complex "vstack=inputs=$count" -pix_fmt rgb24 "$out/$name.png"
  fi
  images+=("$name")
}
frames text-gradient-soft 1 --text "Gradient" --size 96 --face gradient:FFD200-D02000 --shadow colour:000000
frames text-texture-face 1 --text "Marble" --size 96 --face texture:3 --background gradient:203060-80A0FF
frames text-outline-shadow 1 --text "Outline" --size 96 --face gradient:00FF80-0040FF --background colour:FFFFFF
frames text-glow 1 --text "Glowing" --size 160 --face gradient:FFFFFF-FFD000 --shadow gradient:FF0000-0000FF \
  --background gradient:000030-306090 --set Style000ShadowOffset=1 --set Style000Soft=40
frames text-frames-8 8 --text "Frames" --size 64 --face gradient:FF00A0-4000FF --background texture:2
frames texture-on-texture-8 8 --text "Texture" --size 120 --face texture:3 --shadow colour:000000 --background texture:2
frames default-8 8
frames stars-8 8 --effect Stars --text "Effects" --size 96 --face gradient:FFD200-D02000 --background texture:4
frames candy-8 8 --effect Candy --text "Effects" --size 96 --face gradient:FFD200-D02000 --background texture:4
frames unplugged-tv-8 8 --effect "Unplugged TV" --text "Effects" --size 96 --face gradient:FFD200-D02000 \
  --background texture:4

# name|command with IN and OUT placeholders
tools=(
  "glyphwright|$cli quantize IN -o OUT"
  "glyphwright --fast|$cli quantize IN -o OUT --fast"
  "pngquant --speed 1 --nofs|pngquant --force --speed 1 --nofs --output OUT 256 IN"
  "pngquant --nofs (speed 4)|pngquant --force --nofs --output OUT 256 IN"
  "pngquant --speed 10 --nofs|pngquant --force --speed 10 --nofs --output OUT 256 IN"
  "ffmpeg palettegen full, no dither|ffmpeg -nostdin -v error -y -i IN -filter_complex [0:v]split[a][b];[a]palettegen=max_colors=256:reserve_transparent=0:stats_mode=full[p];[b][p]paletteuse=dither=none OUT"
  "glyphwright --dither|$cli quantize IN -o OUT --dither"
  "pngquant (speed 4, dithered)|pngquant --force --output OUT 256 IN"
  "ffmpeg palettegen full, sierra2_4a|ffmpeg -nostdin -v error -y -i IN -filter_complex [0:v]split[a][b];[a]palettegen=max_colors=256:reserve_transparent=0:stats_mode=full[p];[b][p]paletteuse OUT"
)

run_ms() {  # best wall and best CPU (user + system) time of three runs, in milliseconds
  local best=0 bestCpu=0 t0 t1 ms cpu times
  for _ in 1 2 3; do
    t0=$(date +%s%N)
    times=$( { TIMEFORMAT='%3U %3S'; time "$@" >/dev/null; } 2>&1 | tail -1)
    t1=$(date +%s%N)
    ms=$(( (t1 - t0) / 1000000 ))
    cpu=$(echo "$times" | awk '{printf "%d", ($1 + $2) * 1000 + 0.5}')
    if [ "$best" -eq 0 ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
    if [ "$bestCpu" -eq 0 ] || [ "$cpu" -lt "$bestCpu" ]; then bestCpu=$cpu; fi
  done
  echo "$best $bestCpu"
}

psnr_of() { "$cli" quantize "$1" --compare "$2" | sed -n 's/^PSNR: \([0-9.inf]*\) dB.*/\1/p'; }

declare -A sum_psnr sum_ms psnr_at ms_at cpu_at colours_at
printf '| image | tool | PSNR (dB) | wall (ms) |\n|---|---|---:|---:|\n'
for image in "${images[@]}"; do
  in="$out/$image.png"
  colours_at[$image]=$("$cli" quantize "$in" -o "$out/colours.png" | sed -n -e 's/^colours: [0-9]* (\([0-9]*\) in.*/\1/p' \
    -e 's/^colours: [0-9]* (more than.*: \([0-9]*\) entries.*/more than \1/p')
  for entry in "${tools[@]}"; do
    name=${entry%%|*}
    template=${entry#*|}
    result="$out/$image.$(echo "$name" | tr -c 'a-z0-9' _).png"
    cmd=${template//IN/$in}
    cmd=${cmd//OUT/$result}
    # shellcheck disable=SC2086 # the template is split into words on purpose
    read -r ms cpu < <(run_ms $cmd)
    psnr=$(psnr_of "$in" "$result")
    printf '| %s | %s | %s | %d |\n' "$image" "$name" "$psnr" "$ms"
    psnr_at[$image|$name]=$psnr
    ms_at[$image|$name]=$ms
    cpu_at[$image|$name]=$cpu
    sum_psnr[$name]=$(echo "${sum_psnr[$name]:-0} + $psnr" | bc -l)
    sum_ms[$name]=$(( ${sum_ms[$name]:-0} + ms ))
  done
done

echo
printf '| tool (%d pictures, drawn ones %dx%d) | mean PSNR (dB) | total wall (ms) |\n|---|---:|---:|\n' \
  "${#images[@]}" "$width" "$height"
for entry in "${tools[@]}"; do
  name=${entry%%|*}
  printf '| %s | %.3f | %d |\n' "$name" "$(echo "${sum_psnr[$name]} / ${#images[@]}" | bc -l)" "${sum_ms[$name]}"
done

# The palette against pngquant's default and its fastest speed, per picture.
ours="glyphwright" pq="pngquant --nofs (speed 4)" pq10="pngquant --speed 10 --nofs"
ff="ffmpeg palettegen full, no dither"
echo
printf '| picture | colours | glyphwright dB | ms (CPU) | pngquant dB | ms (CPU) | pngquant --speed 10 dB | ms (CPU) | FFmpeg dB | ms (CPU) | glyphwright - pngquant dB |\n'
printf '|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n'
worst="" slower=() slowerCpu=()
for image in "${images[@]}"; do
  delta=$(printf '%.3f' "$(echo "${psnr_at[$image|$ours]} - ${psnr_at[$image|$pq]}" | bc -l)")
  printf '| %s | %s | %s | %d (%d) | %s | %d (%d) | %s | %d (%d) | %s | %d (%d) | %s |\n' "$image" \
    "${colours_at[$image]:-?}" "${psnr_at[$image|$ours]}" "${ms_at[$image|$ours]}" "${cpu_at[$image|$ours]}" \
    "${psnr_at[$image|$pq]}" "${ms_at[$image|$pq]}" "${cpu_at[$image|$pq]}" \
    "${psnr_at[$image|$pq10]}" "${ms_at[$image|$pq10]}" "${cpu_at[$image|$pq10]}" \
    "${psnr_at[$image|$ff]}" "${ms_at[$image|$ff]}" "${cpu_at[$image|$ff]}" "$delta"
  if [ -z "$worst" ] || [ "$(echo "$delta < $worst" | bc -l)" = 1 ]; then worst=$delta; fi
  if [ "${ms_at[$image|$ours]}" -gt "${ms_at[$image|$pq10]}" ]; then slower+=("$image"); fi
  if [ "${cpu_at[$image|$ours]}" -gt "${cpu_at[$image|$pq10]}" ]; then slowerCpu+=("$image"); fi
done
echo
printf 'mean PSNR: glyphwright %.3f dB, pngquant %.3f dB; worst picture %s dB against pngquant\n' \
  "$(echo "${sum_psnr[$ours]} / ${#images[@]}" | bc -l)" "$(echo "${sum_psnr[$pq]} / ${#images[@]}" | bc -l)" "$worst"
echo "wall time longer than pngquant --speed 10's on: ${slower[*]:-no picture}"
echo "CPU time longer than pngquant --speed 10's on: ${slowerCpu[*]:-no picture}"
