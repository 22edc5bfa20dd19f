#!/usr/bin/env bash
# Builds the program on a fresh Debian machine and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
# A folder of its own: the test build's settings (warnings as errors,
# sanitizers) never reach the program a user runs.
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DKORVEL_BUILD_TESTS=OFF -DKORVEL_BUILD_BENCHMARKS=OFF
cmake --build build-release --target korvel-cam-designer -j"$(nproc)"
exec build-release/korvel-cam-designer
