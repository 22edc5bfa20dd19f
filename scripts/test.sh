#!/usr/bin/env bash
# Builds everything with warnings as errors and runs every test: the unit, GUI
# and end-to-end tests, then the unit and GUI tests again under AddressSanitizer
# and UndefinedBehaviorSanitizer, then builds and checks the Debian package,
# then runs each fuzzer for a bounded time.
# KORVEL_QUICK=1 runs only the first build and its tests.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
jobs=$(nproc)

echo "== build and test"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVEL_WARNINGS_AS_ERRORS=ON > /dev/null
cmake --build build -j"$jobs"
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$jobs")

[[ "${KORVEL_QUICK:-0}" == 1 ]] && exit 0

echo "== sanitizers"
# clang's UndefinedBehaviorSanitizer also checks double-to-integer casts,
# which GCC's does not. A folder left from another compiler starts afresh.
if [[ -f build-sanitize/CMakeCache.txt ]] && ! grep -q '^CMAKE_CXX_COMPILER:.*clang' build-sanitize/CMakeCache.txt; then
  rm -rf build-sanitize
fi
cmake -S . -B build-sanitize -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug -DKORVEL_WARNINGS_AS_ERRORS=ON \
  -DKORVEL_SANITIZE=ON -DKORVEL_BUILD_BENCHMARKS=OFF > /dev/null
cmake --build build-sanitize -j"$jobs"
(cd build-sanitize &&
  QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -LE e2e -j"$jobs")

echo "== package"
scripts/check-package.sh

echo "== fuzzing"
scripts/fuzz.sh
