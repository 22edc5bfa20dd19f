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
  libdxflib-dev python3-ezdxf libpolyclipping-dev
  libopencv-core-dev libopencv-imgproc-dev libeigen3-dev qt6-image-formats-plugins
  xvfb xauth xdotool x11-utils openbox
  poppler-utils
  clang libclang-rt-14-dev
  time
  locales
  dpkg-dev file lintian desktop-file-utils appstream help2man
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

sudo=()
if [[ $(id -u) -ne 0 ]]; then sudo=(sudo); fi

if ((${#missing[@]} > 0)); then
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# A locale with a decimal comma, so the tests prove that typed and stored
# numbers keep the point whatever the user's locale.
if ! locale -a 2>/dev/null | grep -qix 'de_DE.utf8'; then
  "${sudo[@]}" localedef -i de_DE -f UTF-8 de_DE.UTF-8 ||
    echo "could not generate de_DE.UTF-8; the decimal-comma test will be skipped" >&2
fi
