#!/usr/bin/env bash
# Builds the program on a fresh Debian machine and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DKORVEL_BUILD_TESTS=OFF -DKORVEL_BUILD_BENCHMARKS=OFF
cmake --build build --target korvel-cam-designer -j"$(nproc)"
exec build/korvel-cam-designer
