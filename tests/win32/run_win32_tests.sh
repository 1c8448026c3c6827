#!/usr/bin/env bash
# Runs the Win32 test host under wine inside a virtual X display, in a
# throw-away wine prefix, so it needs no display and no earlier wine set-up.
# The build's own machine type picks the wine: wine32 for the 32-bit plug-in,
# wine64 for the 64-bit test build.
#   tests/win32/run_win32_tests.sh BUILD_DIR [TEST_NAME_FILTER]
set -euo pipefail
build=${1:?usage: run_win32_tests.sh BUILD_DIR [FILTER]}
filter=${2:-}
exe="$build/gw_win32_tests.exe"
[ -f "$exe" ] || { echo "win32: $exe is missing"; echo "win32: 0 passed, 1 failed"; exit 1; }

# The machine field of the PE header: 014c is i386, 8664 is x86-64.
pe_offset=$(od -An -tu4 -j60 -N4 "$exe" | tr -d ' ')
machine=$(od -An -tx2 -j$((pe_offset + 4)) -N2 "$exe" | tr -d ' ')
case "$machine" in
  014c) arch=win32 loader=wine ;;
  8664)
    arch=win64
    loader=$(command -v wine64 || true)
    [ -n "$loader" ] || loader=/usr/lib/wine/wine64  # Debian keeps it off PATH
    # The wine launcher would pick wine32 whenever it is installed; the
    # 64-bit loader is called directly and told it is the loader.
    export WINELOADER="$loader"
    ;;
  *) echo "win32: $exe is no i386 or x86-64 program (machine $machine)"; echo "win32: 0 passed, 1 failed"; exit 1 ;;
esac

prefix=$(mktemp -d /tmp/gw-wine.XXXXXX)
# The settings of every effect's Test build, beside the test host, and the
# animations they name decoded as an editor hands them over: full 24-bit
# frames ("<name>_NN.bmp") and their delays in hundredths ("<name>.delays").
data="$(dirname "$0")/data"
rm -rf "$build/effect_builds"
mkdir -p "$build/effect_builds"
cp "$data"/effects/*.ini "$data"/*.gif "$build/effect_builds/"
for gif in "$data"/*.gif; do
  stem="$build/effect_builds/$(basename "$gif" .gif)"
  /usr/bin/convert "$gif" -coalesce -alpha off -type TrueColor "BMP3:${stem}_%02d.bmp"
  /usr/bin/identify -format '%T\n' "$gif" >"$stem.delays"
done
rm -rf "$build/win32-screenshots"
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$prefix"' EXIT
export WINEPREFIX="$prefix" WINEARCH="$arch" WINEDEBUG=-all
# No Mono or Gecko installers: the plug-in needs neither.
export WINEDLLOVERRIDES="mscoree,mshtml="
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  build=$0 filter=$1 loader=$2
  # Creating the prefix takes seconds; a wine that cannot start must not hang
  # the run. Its failure shows in the test run that follows.
  timeout 300 "$loader" wineboot -i >/dev/null 2>&1 || true
  # A modal window nobody closes would hang the run: give it a limit.
  timeout 900 "$loader" "$build/gw_win32_tests.exe" $filter
  rc=$?
  [ $rc -eq 124 ] && echo "win32: the test host did not finish within 900 s" && echo "win32: 0 passed, 1 failed"
  # Pictures the tests took, for a person to look at.
  mkdir -p "$build/win32-screenshots"
  cp "$WINEPREFIX"/drive_c/users/*/AppData/Local/Temp/gw_*.bmp "$WINEPREFIX"/drive_c/users/*/Temp/gw_*.bmp "$build/win32-screenshots/" 2>/dev/null || true
  # Documents and fountain libraries the DLL saved, for the native build to read.
  for ext in gw5 fll; do
    cp "$WINEPREFIX"/drive_c/users/*/AppData/Local/Temp/gw_*.$ext "$WINEPREFIX"/drive_c/users/*/Temp/gw_*.$ext "$build/win32-screenshots/" 2>/dev/null || true
  done
  exit $rc
' "$build" "$filter" "$loader"
