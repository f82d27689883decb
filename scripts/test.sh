#!/usr/bin/env bash
# Builds everything and runs every test: the Windows cross builds, the native
# build with CTest (unit, GL, end-to-end, Wine), the sanitized build with every
# native test and its long run of late frames (address, leak and undefined-
# behaviour sanitizers), the fuzzers for a short fixed time, and the benchmarks
# once, briefly. Stops at
# the first step that fails, and ends with a table of the steps.
# QUELMAR_WERROR=ON turns compiler warnings into errors (CI does).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
fuzz_seconds=${QUELMAR_FUZZ_SECONDS:-20}
werror=-DQUELMAR_WERROR=${QUELMAR_WERROR:-OFF}

names=() seconds=() results=()
summary() {
  local i
  printf '\n%-46s %9s  %s\n' "step" "seconds" "result"
  for i in "${!names[@]}"; do
    printf '%-46s %9s  %s\n' "${names[$i]}" "${seconds[$i]}" "${results[$i]}"
  done
}
# step NAME FUNCTION: runs FUNCTION with errexit on, records its time and result.
step() {
  local name=$1 start rc
  printf '\n=== %s ===\n' "$name"
  start=$(date +%s.%N)
  set +e
  ( set -e; "$2" )
  rc=$?
  set -e
  names+=("$name")
  seconds+=("$(awk -v s="$start" -v e="$(date +%s.%N)" 'BEGIN { printf "%.1f", e - s }')")
  if [ "$rc" -ne 0 ]; then
    results+=("FAILED (exit $rc)")
    summary
    echo "test.sh: step '$name' failed" >&2
    exit 1
  fi
  results+=("passed")
}

windows_builds() {
  local arch
  for arch in i686 x86_64; do
    cmake --preset "win-$arch" "$werror" >/dev/null
    cmake --build --preset "win-$arch" -j "$jobs"
  done
}
native_build() {
  cmake --preset native "$werror" >/dev/null
  cmake --build --preset native -j "$jobs"
}
ctest_all() { ctest --preset native -j "$jobs"; }
sanitizers() {
  cmake --preset asan "$werror" >/dev/null
  cmake --build --preset asan -j "$jobs"
  ctest --preset asan -j "$jobs"
}
fuzzers() {
  cmake --preset fuzz "$werror" >/dev/null
  cmake --build --preset fuzz -j "$jobs"
  local fuzzer name corpus work found=0
  for fuzzer in build-fuzz/tests/fuzz/fuzz_*; do
    [ -x "$fuzzer" ] || continue
    found=1
    name=$(basename "$fuzzer")
    corpus="tests/fuzz/corpus/${name#fuzz_}"
    work=$(mktemp -d)
    echo "-- $name"
    "$fuzzer" -max_total_time="$fuzz_seconds" -print_final_stats=1 "$work" "$corpus" >"$work.log" 2>&1 ||
      { tail -n 40 "$work.log"; rm -rf "$work" "$work.log"; return 1; }
    tail -n 3 "$work.log"
    rm -rf "$work" "$work.log"
  done
  [ "$found" = 1 ] || { echo "no fuzzers were built" >&2; return 1; }
}
benchmarks() { bench/run.sh build --brief; }

step "Windows builds (mingw-w64)" windows_builds
step "Native build" native_build
step "Tests (CTest)" ctest_all
step "Sanitizers (address, leak, UB): native tests" sanitizers
step "Fuzzers (${fuzz_seconds} s each)" fuzzers
step "Benchmarks (brief run)" benchmarks
summary
echo
echo "All tests passed."
