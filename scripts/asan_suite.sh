#!/usr/bin/env bash
# Builds the native suite with AddressSanitizer and UBSan (build-asan/) and
# runs it once with CTest: any memory error, leak or undefined behaviour fails
# the test it happens in. Tests whose extreme cases are too slow under the
# sanitizers bound those cases themselves (tests/sanitizer_build.h).
#   scripts/asan_suite.sh [CTEST ARGS...]     e.g. -R AnimationFile
set -uo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh --asan || exit 1
# Leaks are looked for at every exit, fontconfig's process-long configuration
# excepted; UBSan stops at its first finding (the build does not recover).
export ASAN_OPTIONS=detect_leaks=1:check_initialization_order=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
cd build-asan && ctest -j2 --output-on-failure "$@"
