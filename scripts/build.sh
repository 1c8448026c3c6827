#!/usr/bin/env bash
# Builds the native tree (core, command-line host, tests) into build/ and, with
# --win32, the plug-in DLL and its Windows test host into build-win32/; with
# --win64 the same two for x86-64 into build-win64/, a test vehicle for
# machines that cannot run 32-bit programs (the plug-in ships 32-bit only).
# With --asan it builds only the native tree with AddressSanitizer and UBSan,
# into build-asan/.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${GW_JOBS:-2}
win32=0 win64=0 asan=0
for arg in "$@"; do
  case "$arg" in
    --win32) win32=1 ;;
    --win64) win64=1 ;;
    --asan) asan=1 ;;
    *) echo "usage: build.sh [--win32] [--win64] | --asan" >&2; exit 2 ;;
  esac
done
# Repeated builds of the same sources (several worktrees, clean CI trees) reuse
# their objects when ccache is there; without it nothing changes.
launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(dirname "$PWD")}
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
if [ $asan = 1 ]; then
  cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" \
    -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
  cmake --build build-asan -j"$jobs" --target gw_tests glyphwright
  exit
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
cmake --build build -j"$jobs"
if [ $win32 = 1 ]; then
  cmake -S . -B build-win32 -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw32.cmake "${launcher[@]}" >/dev/null
  cmake --build build-win32 -j"$jobs"
fi
if [ $win64 = 1 ]; then
  cmake -S . -B build-win64 -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw64.cmake "${launcher[@]}" >/dev/null
  cmake --build build-win64 -j"$jobs"
fi
