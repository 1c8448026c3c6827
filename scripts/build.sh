#!/usr/bin/env bash
# Builds the native tree (core, command-line host, tests) into build/ and, with
# --win32, the plug-in DLL and its Windows test host into build-win32/.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${GW_JOBS:-2}
# Repeated builds of the same sources (several worktrees, clean CI trees) reuse
# their objects when ccache is there; without it nothing changes.
launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(dirname "$PWD")}
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
cmake --build build -j"$jobs"
if [ "${1:-}" = "--win32" ]; then
  cmake -S . -B build-win32 -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw32.cmake "${launcher[@]}" >/dev/null
  cmake --build build-win32 -j"$jobs"
fi
