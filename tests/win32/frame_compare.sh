# Frame-by-frame comparison of a build the DLL made under wine (BMP frames
# "<wine>_NN.bmp", as the Win32 suite saves them) with the native build of the
# same design (PNG frames "<native>-NNNN.png", as `glyphwright render` writes a
# sequence). The two letter rasterisers (GDI under wine, FreeType natively)
# may differ along letter edges, so a frame passes when fewer than 3% of its
# pixels differ by more than 8%; anything else must be the same.
#   source tests/win32/frame_compare.sh
#   compare_frame_sets LABEL WINE_PREFIX NATIVE_PREFIX   # prints one line
# It adds to frames_compared and sets worst_share (percent) for a total.
frames_compared=${frames_compared:-0}
worst_share=${worst_share:-0}

# The share of pixels (percent) that differ by more than 8% between two
# images of the same size; "size AxB CxD" when their sizes differ.
frame_difference() {
  local a=$1 b=$2 size_a size_b pixels differ
  size_a=$(/usr/bin/identify -format '%wx%h' "$a") || return 1
  size_b=$(/usr/bin/identify -format '%wx%h' "$b") || return 1
  if [ "$size_a" != "$size_b" ]; then echo "size $size_a $size_b"; return 0; fi
  pixels=$(/usr/bin/identify -format '%[fx:w*h]' "$b")
  differ=$(/usr/bin/compare -metric AE -fuzz 8% "$a" "$b" null: 2>&1 | cut -d' ' -f1)
  echo "scale=4; 100 * $differ / $pixels" | bc
}

compare_frame_sets() {
  local label=$1 wine=$2 native=$3 wine_count native_count i share worst=0 worst_at=0 problem=""
  wine_count=$(ls "$wine"_[0-9][0-9].bmp 2>/dev/null | wc -l)
  native_count=$(ls "$native"-[0-9][0-9][0-9][0-9].png 2>/dev/null | wc -l)
  if [ "$wine_count" -eq 0 ] || [ "$wine_count" != "$native_count" ]; then
    printf '%-16s %s frames from wine, %s natively - failed\n' "$label:" "$wine_count" "$native_count"
    return 1
  fi
  for ((i = 0; i < wine_count; i++)); do
    share=$(frame_difference "$(printf '%s_%02d.bmp' "$wine" "$i")" "$(printf '%s-%04d.png' "$native" "$i")")
    case "$share" in
      size*) problem="frame $i: wine and native sizes differ (${share#size })"; break ;;
      "") problem="frame $i: could not be compared"; break ;;
    esac
    if [ "$(echo "$share > $worst" | bc)" = 1 ]; then worst=$share worst_at=$i; fi
  done
  frames_compared=$((frames_compared + wine_count))
  if [ "$(echo "$worst > $worst_share" | bc)" = 1 ]; then worst_share=$worst; fi
  if [ -n "$problem" ]; then
    printf '%-16s %2d frames, %s - failed\n' "$label:" "$wine_count" "$problem"
    return 1
  fi
  if [ "$(echo "$worst < 3" | bc)" = 1 ]; then
    printf '%-16s %2d frames, worst %6.2f%% of pixels differ (frame %d)\n' "$label:" "$wine_count" "$worst" "$worst_at"
    return 0
  fi
  printf '%-16s %2d frames, worst %6.2f%% of pixels differ (frame %d) - too many\n' "$label:" "$wine_count" "$worst" "$worst_at"
  return 1
}
