#!/usr/bin/env bash
# Builds the Debian package of the program (Release, with Debian's hardening
# flags) into dist/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B build-pkg -DCMAKE_BUILD_TYPE=Release -DKORVEL_BUILD_TESTS=OFF -DKORVEL_BUILD_BENCHMARKS=OFF \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" > /dev/null
cmake --build build-pkg --target korvel-cam-designer korvel_man_page -j"$(nproc)"
rm -f build-pkg/*.deb
(cd build-pkg && cpack -G DEB > /dev/null)

mkdir -p dist
for package in build-pkg/*.deb; do
  cp "$package" dist/
  echo "dist/$(basename "$package")"
done
