#!/usr/bin/env bash
# Runs the benchmarks (medians of five runs) and measures the program's
# start-up time to its first shown window and its peak memory under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."

if [[ "${1:-}" != --on-display ]]; then
  scripts/deps.sh
  cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVEL_BUILD_TESTS=OFF > /dev/null
  cmake --build build-bench --target korvel-bench korvel-cam-designer -j"$(nproc)"
  [[ "${KORVEL_BENCH_STARTUP_ONLY:-0}" == 1 ]] || QT_QPA_PLATFORM=offscreen build-bench/bench/korvel-bench \
    --benchmark_repetitions=5 --benchmark_report_aggregates_only=true --benchmark_min_time=0.2 |
    grep -E 'median|Benchmark'
  exec scripts/with-display.sh "$0" --on-display
fi

# From here on, on a display of our own.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp build-bench/korvel-cam-designer "$work/"
export QT_QPA_PLATFORM=xcb
for run in 1 2 3 4 5; do
  start=$(date +%s%N)
  (cd "$work" && exec /usr/bin/time -v -o "$work/time.txt" ./korvel-cam-designer) & timer=$!
  # Without a window manager the title appears as the window maps.
  for _ in $(seq 2000); do
    window=$(xdotool search --name '^Korvel Cam Designer$' 2>/dev/null | head -n 1) || true
    [[ -n "$window" ]] && break
    sleep 0.005
  done
  shown=$(date +%s%N)
  sleep 0.5
  # One high-resolution sheet so the peak includes it, then end the program:
  # SIGTERM, which saves the settings as Exit does.
  xdotool mousemove --window "$window" 440 315 click 1 mousemove --window "$window" 84 279 click 1
  sleep 3
  # The program is the timer's only child; it is ended by its own id.
  program=$(pgrep -P "$timer")
  kill -TERM "$program"
  wait "$timer" || true
  echo "run $run: first window after $(( (shown - start) / 1000000 )) ms, peak memory" \
    "$(grep 'Maximum resident' "$work/time.txt" | awk '{print $NF}') kB"
done
