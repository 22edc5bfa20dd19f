#!/usr/bin/env bash
# Installs the Debian packages the program, its tests and its benchmarks need.
# Asks dpkg first, so a second run installs nothing and touches no network.
set -euo pipefail

packages=(
  cmake g++ make
  qt6-base-dev qt6-qpa-plugins libqt6printsupport6
  libgl-dev
  libgtest-dev googletest libbenchmark-dev
  fonts-liberation fontconfig
  libcups2-dev cups cups-client cups-bsd
  xvfb xauth xdotool x11-utils
  poppler-utils
  clang libclang-rt-14-dev
  time
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

sudo=()
if [[ $(id -u) -ne 0 ]]; then sudo=(sudo); fi
echo "Installing: ${missing[*]}"
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
