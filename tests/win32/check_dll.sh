#!/usr/bin/env bash
# The DLL must export exactly the two undecorated entry points and import only
# Windows system DLLs (no MinGW runtime DLLs).
set -euo pipefail
dll=${1:?usage: check_dll.sh glwplug5.dll}
dump=$(i686-w64-mingw32-objdump -p "$dll")
exports=$(printf '%s\n' "$dump" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | awk '/^\t\[/ {print $NF}' | sort | tr '\n' ' ')
imports=$(printf '%s\n' "$dump" | awk '/DLL Name:/ {print tolower($3)}' | sort | tr '\n' ' ')
echo "exports: $exports"
echo "imports: $imports"
fail=0
[ "$exports" = "PLUGIN16DoBuild PLUGIN16GetPluginParams " ] || { echo "FAIL: exports are not exactly the two entry points"; fail=1; }
for dll_name in $imports; do
  case "$dll_name" in
    kernel32.dll|user32.dll|gdi32.dll|msvcrt.dll|shell32.dll|ole32.dll|comctl32.dll|comdlg32.dll|advapi32.dll) ;;
    *) echo "FAIL: imports non-system DLL $dll_name"; fail=1 ;;
  esac
done
if [ $fail -eq 0 ]; then echo "check_dll: 2 passed, 0 failed"; else echo "check_dll: 0 passed, 1 failed"; fi
exit $fail
