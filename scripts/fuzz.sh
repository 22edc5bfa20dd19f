#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz and runs each for a
# bounded time on a copy of its seed corpus in a temporary folder, so nothing
# new is ever written into tests/fuzz/corpus. Exits non-zero when any target
# finds a crash; the crashing inputs are kept in build-fuzz/crashes/.
#
#   FUZZ_SECONDS   seconds per target (default 30)
#   FUZZ_TARGETS   targets to run (default: ini number_text sheet_field lens_rows scan_reader)
#   FUZZ_JOBS      parallel build jobs (default: nproc)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build-fuzz"
seconds=${FUZZ_SECONDS:-30}
targets=${FUZZ_TARGETS:-"ini number_text sheet_field lens_rows scan_reader"}
jobs=${FUZZ_JOBS:-$(nproc)}

if [[ ! "$seconds" =~ ^[0-9]+$ ]] || (( seconds < 1 )); then
  echo "FUZZ_SECONDS must be a positive whole number of seconds" >&2
  exit 2
fi

cxx=$(command -v clang++ || command -v clang++-14 || true)
if [[ -z "$cxx" ]]; then
  echo "clang++ not found" >&2
  exit 2
fi
# A build folder left from another compiler cannot be switched over; start it
# afresh.
if [[ -f "$build/CMakeCache.txt" ]] &&
   ! grep -Eq "^CMAKE_CXX_COMPILER:[A-Z]+=($cxx|clang\+\+|clang\+\+-14)\$" "$build/CMakeCache.txt"; then
  rm -rf "$build"
fi

echo "== configure and build the fuzz targets ($cxx)"
cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKORVEL_BUILD_TESTS=OFF -DKORVEL_BUILD_BENCHMARKS=OFF -DKORVEL_BUILD_FUZZERS=ON > /dev/null
build_targets=()
for target in $targets; do build_targets+=("fuzz_$target"); done
cmake --build "$build" --target "${build_targets[@]}" -j"$jobs"

work=$(mktemp -d "${TMPDIR:-/tmp}/korvel-fuzz.XXXXXX")
scratches=()
trap 'rm -rf "$work" "${scratches[@]}"' EXIT
crashes="$build/crashes"
mkdir -p "$crashes"

status=0
for target in $targets; do
  max_len=4096
  [[ $target == ini ]] && max_len=65536
  corpus="$work/corpus-$target"
  mkdir -p "$corpus" "$work/artifacts-$target"
  # The settings file target writes and syncs a file per input: on a memory
  # file system that costs next to nothing.
  scratch="$work/tmp-$target"
  if [[ -d /dev/shm && -w /dev/shm ]]; then
    scratch=$(mktemp -d /dev/shm/korvel-fuzz.XXXXXX)
    scratches+=("$scratch")
  fi
  mkdir -p "$scratch"
  cp "$root/tests/fuzz/corpus/$target/." "$corpus/" -r
  log="$work/$target.log"
  # Inputs that once broke a target are replayed first, every run.
  regressions=("$root/tests/fuzz/regressions/$target"/*)
  if [[ -e "${regressions[0]}" ]]; then
    echo "== fuzz_$target on ${#regressions[@]} past crashing inputs"
    if ! (cd "$work" && "$build/tests/fuzz/fuzz_$target" "${regressions[@]}" > "$log" 2>&1); then
      echo "fuzz_$target fails on a past crashing input:"
      tail -n 30 "$log"
      status=1
      continue
    fi
  fi
  echo "== fuzz_$target for ${seconds}s"
  # The settings file target makes its scratch folder under TMPDIR.
  if (cd "$work" &&
      TMPDIR="$scratch" \
      ASAN_OPTIONS="abort_on_error=1:detect_leaks=1:${ASAN_OPTIONS:-}" \
      UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:${UBSAN_OPTIONS:-}" \
      "$build/tests/fuzz/fuzz_$target" "$corpus" \
        -max_total_time="$seconds" -max_len="$max_len" -timeout=25 \
        -artifact_prefix="$work/artifacts-$target/" -print_final_stats=1 > "$log" 2>&1); then
    grep -E '^stat::(number_of_executed_units|new_units_added)' "$log" || true
  else
    echo "fuzz_$target found a crash:"
    grep -E 'ERROR|SUMMARY|runtime error|deadly signal|#[0-9]+ 0x' "$log" | head -n 40 || true
    for artifact in "$work/artifacts-$target"/*; do
      [[ -e "$artifact" ]] || continue
      cp "$artifact" "$crashes/$target-$(basename "$artifact")"
      echo "crashing input kept in $crashes/$target-$(basename "$artifact")"
    done
    cp "$log" "$crashes/$target.log"
    status=1
  fi
done
exit $status
