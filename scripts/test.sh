#!/usr/bin/env bash
# Builds everything and runs every test: the native build with CTest (unit,
# GL, end-to-end), the Windows cross builds, the sanitizer build, the fuzzers
# for a short fixed time, and the benchmarks once, briefly.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=$(nproc)
fuzz_seconds=${QUELMAR_FUZZ_SECONDS:-20}

step() { printf '\n=== %s ===\n' "$*"; }

step "Windows builds (mingw-w64)"
for arch in i686 x86_64; do
  cmake -S . -B "build-win-$arch" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-$arch.cmake" >/dev/null
  cmake --build "build-win-$arch" -j "$jobs"
done

step "Native build"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUELMAR_WIN32_BUILD="$root/build-win-i686" >/dev/null
cmake --build build -j "$jobs"

step "Tests"
ctest --test-dir build --output-on-failure -j "$jobs"

step "Sanitizers (address, undefined): unit tests"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUELMAR_SANITIZE=ON \
  -DQUELMAR_BENCH=OFF -DQUELMAR_TOOLS=OFF >/dev/null
cmake --build build-asan -j "$jobs"
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 ctest --test-dir build-asan -L unit --output-on-failure -j "$jobs"

step "Fuzzers (${fuzz_seconds} s each)"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUELMAR_FUZZ=ON -DQUELMAR_TESTS=OFF -DQUELMAR_BENCH=OFF -DQUELMAR_TOOLS=OFF >/dev/null
cmake --build build-fuzz -j "$jobs"
shopt -s nullglob
for fuzzer in build-fuzz/tests/fuzz/fuzz_*; do
  name=$(basename "$fuzzer")
  corpus="tests/fuzz/corpus/${name#fuzz_}"
  work=$(mktemp -d)
  echo "-- $name"
  "$fuzzer" -max_total_time="$fuzz_seconds" -print_final_stats=1 "$work" "$corpus" 2>&1 | tail -n 3
  rm -rf "$work"
done

step "Benchmarks (brief run)"
bench/run.sh build --brief

echo
echo "All tests passed."
