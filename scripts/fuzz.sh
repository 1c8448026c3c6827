#!/usr/bin/env bash
# Builds the fuzz harnesses with clang (libFuzzer, AddressSanitizer, UBSan)
# into build-fuzz/ and runs each for SECONDS (default 30), one at a time,
# printing executions and findings per harness. A finding is kept under
# tests/fuzz/regressions/<harness>/, which the native suite replays.
#   scripts/fuzz.sh [SECONDS] [HARNESS...]
#   scripts/fuzz.sh --corpus        make the seed corpora again
#   scripts/fuzz.sh --ci            a fixed, repeatable run of each harness
#                                   (seed 1, 20000 inputs or 20 s), for CI
#   scripts/fuzz.sh --long [HARNESS...]
#                                   the long run: 10^7 inputs or an hour each,
#                                   whichever comes first
set -uo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = "--corpus" ]; then
  bash scripts/build.sh >/dev/null && rm -rf tests/fuzz/corpus && ./build/gw_fuzz_corpus tests/fuzz/corpus
  exit
fi
limits=()
if [ "${1:-}" = "--ci" ]; then
  # The same inputs every run, so CI's verdict does not depend on luck or
  # on how busy the machine is; the time limit only ever shortens it.
  limits=(-seed=1 -runs=20000 -max_total_time=20 -report_slow_units=100000 -timeout=60)
  shift
elif [ "${1:-}" = "--long" ]; then
  limits=(-runs=10000000 -max_total_time=3600 -timeout=10)
  shift
else
  limits=(-max_total_time="${1:-30}" -timeout=10)
  shift || true
fi
jobs=${GW_JOBS:-2}
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DGW_BUILD_FUZZ=ON -DGW_BUILD_TESTS=OFF "${launcher[@]}" \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fsanitize-coverage-ignorelist=$PWD/tests/fuzz/coverage_ignore.txt" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null || exit 1
cmake --build build-fuzz -j"$jobs" >/dev/null || { cmake --build build-fuzz -j1 2>&1 | tail -30; exit 1; }

harnesses=("$@")
if [ ${#harnesses[@]} -eq 0 ]; then
  for exe in build-fuzz/fuzz_*; do harnesses+=("${exe#build-fuzz/fuzz_}"); done
fi
work=$(mktemp -d /tmp/gw-fuzzrun.XXXXXX)
trap 'rm -rf "$work"' EXIT
failed=0
printf '%-20s %12s %10s %8s %s\n' harness executions exec/s seconds findings
for name in "${harnesses[@]}"; do
  corpus="$work/$name"
  mkdir -p "$corpus" "tests/fuzz/regressions/$name"
  cp tests/fuzz/corpus/"$name"/* "$corpus"/ 2>/dev/null
  before=$(ls "tests/fuzz/regressions/$name" | wc -l)
  log="$work/$name.log"
  started=$SECONDS
  ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp UBSAN_OPTIONS=print_stacktrace=1 \
    "build-fuzz/fuzz_$name" "${limits[@]}" -rss_limit_mb=2048 -max_len=65536 \
    -artifact_prefix="tests/fuzz/regressions/$name/" -print_final_stats=1 "$corpus" >"$log" 2>&1
  status=$?
  seconds=$(( SECONDS - started ))
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  found=$(( $(ls "tests/fuzz/regressions/$name" | wc -l) - before ))
  printf '%-20s %12s %10s %8s %s\n' "$name" "${runs:-?}" "${rate:-?}" "$seconds" "$found"
  if [ "$status" -ne 0 ] || [ "$found" -ne 0 ]; then
    failed=1
    grep -m5 -E 'ERROR|SUMMARY|fuzz check failed' "$log" | sed 's/^/    /'
  fi
  rmdir "tests/fuzz/regressions/$name" 2>/dev/null
done
echo "fuzz: $([ $failed -eq 0 ] && echo no findings || echo findings above)"
exit $failed
