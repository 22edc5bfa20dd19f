#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time on
# a copy of its seed corpus. Fails when any target finds a crash.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-30}
cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKORVEL_BUILD_TESTS=OFF -DKORVEL_BUILD_BENCHMARKS=OFF -DKORVEL_BUILD_FUZZERS=ON > /dev/null
cmake --build build-fuzz --target fuzz_ini fuzz_number_text fuzz_sheet_field -j"$(nproc)"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for target in ini number_text sheet_field; do
  max_len=4096
  [[ $target == ini ]] && max_len=65536
  cp -r "tests/fuzz/corpus/$target" "$work/$target"
  echo "fuzzing $target for ${seconds}s"
  if ! (cd "$work" && "$OLDPWD/build-fuzz/tests/fuzz/fuzz_$target" "$work/$target" \
        -max_total_time="$seconds" -max_len="$max_len" -print_final_stats=1 > "$work/$target.log" 2>&1); then
    echo "fuzz_$target found a crash:"
    tail -n 40 "$work/$target.log"
    status=1
  else
    grep -E 'stat::number_of_executed_units' "$work/$target.log" || true
  fi
done
exit $status
