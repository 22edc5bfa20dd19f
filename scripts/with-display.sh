#!/usr/bin/env bash
# Runs a command on a display of its own: a fresh Xvfb (-noreset) with DISPLAY
# exported, stopped with SIGTERM when the command ends.
set -euo pipefail
n=$((100 + $$ % 400))
while [[ -e /tmp/.X$n-lock ]]; do n=$((n + 1)); done
Xvfb ":$n" -noreset -screen 0 1280x1024x24 -nolisten tcp 2> /dev/null & xvfb=$!
trap 'kill -TERM $xvfb 2> /dev/null; wait $xvfb 2> /dev/null || true' EXIT
export DISPLAY=:$n
for _ in $(seq 100); do
  xdpyinfo > /dev/null 2>&1 && break
  kill -0 $xvfb 2> /dev/null || { echo "Xvfb did not start on $DISPLAY" >&2; exit 1; }
  sleep 0.05
done
"$@"
