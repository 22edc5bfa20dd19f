#!/usr/bin/env bash
# Runs the benchmarks (medians of five runs) and measures the program's
# start-up time to its first shown window and its peak memory under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build --target korvel-bench korvel-cam-designer -j"$(nproc)"
[[ "${KORVEL_BENCH_STARTUP_ONLY:-0}" == 1 ]] || QT_QPA_PLATFORM=offscreen build/bench/korvel-bench --benchmark_repetitions=5 \
  --benchmark_report_aggregates_only=true --benchmark_min_time=0.2 | grep -E 'median|Benchmark'

work=$(mktemp -d)
cp build/korvel-cam-designer "$work/"
display=:$((200 + $$ % 300))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp & xvfb=$!
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
export DISPLAY=$display QT_QPA_PLATFORM=xcb
for _ in $(seq 50); do xdpyinfo > /dev/null 2>&1 && break; sleep 0.1; done
for run in 1 2 3 4 5; do
  start=$(date +%s%N)
  (cd "$work" && exec /usr/bin/time -v -o "$work/time.txt" ./korvel-cam-designer) & app=$!
  # Without a window manager the title appears as the window maps.
  for _ in $(seq 2000); do
    window=$(xdotool search --name '^Korvel Cam Designer$' 2>/dev/null | head -n 1) || true
    [[ -n "$window" ]] && break
    sleep 0.005
  done
  shown=$(date +%s%N)
  sleep 0.5
  # One high-resolution sheet so the peak includes it, then end the program:
  # the plot window now covers the Exit button.
  xdotool mousemove --window "$window" 440 296 click 1 mousemove --window "$window" 84 260 click 1
  sleep 3
  pkill -TERM -f '^\./korvel-cam-designer$' || true
  wait $app || true
  echo "run $run: first window after $(( (shown - start) / 1000000 )) ms, peak memory" \
    "$(grep 'Maximum resident' "$work/time.txt" | awk '{print $NF}') kB"
done
