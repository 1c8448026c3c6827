#!/usr/bin/env bash
# The document the Win32 suite saved with the DLL (document_tests.cpp), read
# by the native build: written again it must be the same bytes, and its Test
# build must give the frames the DLL built from it under wine, frame by frame
# with the letter-edge tolerance of frame_compare.sh.
#   tests/win32/compare_documents.sh NATIVE_BUILD_DIR WIN32_BUILD_DIR
set -uo pipefail
source "$(cd "$(dirname "$0")" && pwd)/frame_compare.sh"
native=${1:?usage: compare_documents.sh NATIVE_BUILD WIN32_BUILD}
win32=${2:?usage: compare_documents.sh NATIVE_BUILD WIN32_BUILD}
doc="$win32/win32-screenshots/gw_document.gw5"
out=$(mktemp -d /tmp/gw-documents.XXXXXX)
trap 'rm -rf "$out"' EXIT
export GLYPHWRIGHT_APPDATA=$out GLYPHWRIGHT_DOCUMENTS=$out
if [ ! -f "$doc" ]; then echo "documents: 0 passed, 1 failed (no document from the DLL)"; exit 1; fi
passed=0 failed=0
if "$native/cli/glyphwright" document "$doc" -o "$out/native.gw5" >/dev/null && cmp -s "$doc" "$out/native.gw5"; then
  echo "document: the native build writes the DLL's bytes"; passed=$((passed + 1))
else
  echo "document: the native build writes other bytes:"; diff <(tr -d '\r' <"$doc") <(tr -d '\r' <"$out/native.gw5") | cut -c1-120 | head
  failed=$((failed + 1))
fi
if "$native/cli/glyphwright" render "$doc" --quiet --test -o "$out/doc.png" >/dev/null &&
   compare_frame_sets "document" "$win32/win32-screenshots/gw_document_frame" "$out/doc"; then
  passed=$((passed + 1))
else
  failed=$((failed + 1))
fi
echo "documents: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
