#!/usr/bin/env bash
# Builds a Release tree in build/package and from it the Debian package
# build/pristroje_<version>_<arch>.deb (CPack's DEB generator; the library
# dependencies found by dpkg-shlibdeps). Installs its own build dependencies
# when they are missing. Prints the path of the package.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev \
  libasound2-dev libsndfile1-dev libsamplerate0-dev dpkg-dev file help2man

dir=build/package
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# Debian's hardening flags, as a Debian build would use them.
cmake -G Ninja -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DPRISTROJE_TESTS=OFF -DPRISTROJE_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get CPPFLAGS) $(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get LDFLAGS)" \
  "${launcher[@]}" >/dev/null
cmake --build "$dir" -j "$(nproc 2>/dev/null || echo 2)"

rm -f build/pristroje_*.deb "$dir"/pristroje_*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
mv "$dir"/pristroje_*.deb build/
ls build/pristroje_*.deb
