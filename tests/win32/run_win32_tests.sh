#!/usr/bin/env bash
# Runs the Win32 test host under wine inside a virtual X display, in a
# throw-away wine prefix, so it needs no display and no earlier wine set-up.
#   tests/win32/run_win32_tests.sh BUILD_DIR [TEST_NAME_FILTER]
set -euo pipefail
build=${1:?usage: run_win32_tests.sh BUILD_DIR [FILTER]}
filter=${2:-}
prefix=$(mktemp -d /tmp/gw-wine.XXXXXX)
# Settings the build test loads, beside the test host.
cp "$(dirname "$0")/data/build_test.ini" "$build/"
rm -rf "$build/win32-screenshots"
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$prefix"' EXIT
export WINEPREFIX="$prefix" WINEARCH=win32 WINEDEBUG=-all
# No Mono or Gecko installers: the plug-in needs neither.
export WINEDLLOVERRIDES="mscoree,mshtml="
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  wineboot -i >/dev/null 2>&1 || true
  # A modal window nobody closes would hang the run: give it a limit.
  timeout 900 wine "$0/gw_win32_tests.exe" $1
  rc=$?
  [ $rc -eq 124 ] && echo "win32: the test host did not finish within 900 s" && echo "win32: 0 passed, 1 failed"
  # Pictures the tests took, for a person to look at.
  mkdir -p "$0/win32-screenshots"
  cp "$WINEPREFIX"/drive_c/users/*/AppData/Local/Temp/gw_*.bmp "$WINEPREFIX"/drive_c/users/*/Temp/gw_*.bmp "$0/win32-screenshots/" 2>/dev/null || true
  # Documents the DLL saved, for the native build to read.
  cp "$WINEPREFIX"/drive_c/users/*/AppData/Local/Temp/gw_*.gw5 "$WINEPREFIX"/drive_c/users/*/Temp/gw_*.gw5 "$0/win32-screenshots/" 2>/dev/null || true
  exit $rc
' "$build" "$filter"
