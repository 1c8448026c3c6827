#!/usr/bin/env bash
# Runs every test: installs what is needed, builds the trees, runs the Win32
# suite under wine, the native suite with CTest, the native suite once more
# under AddressSanitizer, LeakSanitizer and UBSan (build-asan), and a fixed
# run of every fuzz harness. The last line says which builds ran and how.
#
# The Win32 suite runs the real 32-bit plug-in under wine32. A machine whose
# kernel cannot execute 32-bit programs runs it on the 64-bit test build of
# the same code under wine64 instead; only a machine with neither skips it.
set -uo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh || exit 1

# Which wine runs the suite: decided once, here.
wine_build=build-win32
if ! why_not_32=$(bash scripts/can_run_32bit.sh); then
  wine64_loader=$(command -v wine64 || echo /usr/lib/wine/wine64)
  if [ -x "$wine64_loader" ] && command -v x86_64-w64-mingw32-g++ >/dev/null \
     && timeout 60 "$wine64_loader" --version >/dev/null 2>&1; then
    wine_build=build-win64
  else
    wine_build=""
  fi
fi

if [ "$wine_build" = build-win64 ]; then
  bash scripts/build.sh --win32 --win64 || exit 1
else
  bash scripts/build.sh --win32 || exit 1
fi

status=0
ran=()
# Runs one step and keeps its verdict for the last line.
stage() {
  local name=$1
  shift
  if "$@"; then ran+=("$name ok"); else ran+=("$name FAILED"); status=1; fi
}
echo "== Win32: exports and imports of glwplug5.dll"
stage "build-win32 exports" bash tests/win32/check_dll.sh build-win32/glwplug5.dll
case "$wine_build" in
  build-win32) echo "== Win32 suite on the 32-bit plug-in (build-win32) under wine32" ;;
  build-win64) echo "== Win32 suite on the 64-bit test build (build-win64) under wine64: $why_not_32" ;;
  *) echo "== Win32 suite, frame and document comparisons did not run (skipped, not failed): $why_not_32, and wine64 with the x86-64 MinGW compiler is not there for the 64-bit test build" ;;
esac
if [ -n "$wine_build" ]; then
  echo "== Win32: the DLL under wine"
  stage "$wine_build under wine" bash tests/win32/run_win32_tests.sh "$wine_build"
  echo "== Win32: the Test build's frames against the native build"
  stage "$wine_build frames" bash tests/win32/compare_with_native.sh build "$wine_build"
  echo "== Win32: the document the DLL saved, read natively"
  stage "$wine_build documents" bash tests/win32/compare_documents.sh build "$wine_build"
else
  ran+=("wine suite skipped")
fi
echo "== Native suite"
stage "build" bash -c 'cd build && ctest -j2 --output-on-failure'
echo "== Native suite under AddressSanitizer, LeakSanitizer and UBSan"
stage "build-asan" bash scripts/asan_suite.sh
echo "== Fuzz harnesses: a fixed run of each (libFuzzer, AddressSanitizer, UBSan)"
stage "build-fuzz" bash scripts/fuzz.sh --ci
summary=$(printf '%s, ' "${ran[@]}")
echo "== $([ $status = 0 ] && echo PASSED || echo FAILED): ${summary%, }"
exit $status
