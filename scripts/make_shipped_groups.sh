#!/usr/bin/env bash
# Remakes the shipped groups resources/glwplug5.fft and resources/glwplug5.mtx
# from their recipes, and the contact sheet docs/shipped_groups.png (needs
# ImageMagick's montage). Run after changing a recipe or a generator; the
# ShippedGroups tests fail until the files match again.
#   scripts/make_shipped_groups.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" --target gw_make_groups -j"${GW_JOBS:-2}"
pictures=$(mktemp -d)
trap 'rm -rf "$pictures"' EXIT
"$build/gw_make_groups" resources --pictures "$pictures"
names=$("$build/gw_make_groups" --names)
if command -v montage >/dev/null; then
  textures=()
  tiles=()
  while IFS=$'\t' read -r kind index label; do
    if [ "$kind" = texture ]; then textures+=(-label "$label" "$pictures/texture$index.png"); fi
    if [ "$kind" = tile ]; then tiles+=(-label "$label" "$pictures/tile$index.png"); fi
  done <<<"$names"
  sheet=(-font DejaVu-Sans -pointsize 11 -background '#202020' -fill '#e0e0e0' -geometry 128x128+6+4)
  montage "${sheet[@]}" -tile 7x "${textures[@]}" "$pictures/textures.png"
  montage "${sheet[@]}" -tile 9x "${tiles[@]}" "$pictures/tiles.png"
  convert "$pictures/textures.png" "$pictures/tiles.png" -background '#202020' -gravity center -append \
    -define png:exclude-chunks=date,time docs/shipped_groups.png
else
  echo "montage not found: docs/shipped_groups.png left as it was" >&2
fi
