#!/usr/bin/env bash
# Runs every test: installs what is needed, builds both trees, runs the Win32
# suite under wine and the native suite with CTest.
set -uo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh || exit 1
bash scripts/build.sh --win32 || exit 1

status=0
echo "== Win32: exports and imports of glwplug5.dll"
bash tests/win32/check_dll.sh build-win32/glwplug5.dll || status=1
echo "== Win32: the DLL under wine"
bash tests/win32/run_win32_tests.sh build-win32 || status=1
echo "== Win32: the Test build's frames against the native build"
bash tests/win32/compare_with_native.sh build build-win32 || status=1
echo "== Win32: the document the DLL saved, read natively"
bash tests/win32/compare_documents.sh build build-win32 || status=1
echo "== Native suite"
(cd build && ctest -j2 --output-on-failure) || status=1
exit $status
