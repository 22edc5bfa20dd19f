#!/usr/bin/env bash
# Readies the scripts that take the README's pictures: the project's packages,
# the extra Debian packages named as arguments, and the release program.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
missing=()
for p in "$@"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]} > 0)); then
  sudo=(); [[ $(id -u) -ne 0 ]] && sudo=(sudo)
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DKORVEL_BUILD_TESTS=OFF -DKORVEL_BUILD_BENCHMARKS=OFF > /dev/null
cmake --build build-release --target korvel-cam-designer -j"$(nproc)"
