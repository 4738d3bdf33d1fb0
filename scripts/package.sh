#!/usr/bin/env bash
# Builds the Debian package build/pristroje_<version>_<arch>.deb (CPack's DEB
# generator; the library dependencies found by dpkg-shlibdeps) and prints its
# path. Installs its own build dependencies when they are missing.
#
#   scripts/package.sh               builds the program alone in build/package
#   scripts/package.sh --tree DIR    makes the package from the tree DIR when it is
#                                    configured as scripts/package_config.sh says
#                                    (scripts/test.sh's tree is), else as above
set -euo pipefail
cd "$(dirname "$0")/.."

tree=
if [ $# -gt 0 ]; then
  [ "$1" = "--tree" ] && [ $# -eq 2 ] || { echo "usage: scripts/package.sh [--tree DIR]" >&2; exit 2; }
  tree=$2
fi

scripts/deps.sh cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev \
  libasound2-dev libsndfile1-dev libsamplerate0-dev libqcustomplot-dev qt6-svg-dev dpkg-dev file help2man

mapfile -t config < <(scripts/package_config.sh)
jobs=$(nproc 2>/dev/null || echo 2)

# Whether the tree DIR was configured with every setting of the package's.
configured_as_package() {  # dir
  local cache=$1/CMakeCache.txt setting name value
  [ -f "$cache" ] || return 1
  for setting in "${config[@]}"; do
    setting=${setting#-D}; name=${setting%%=*}; value=${setting#*=}
    awk -v name="$name" -v value="$value" 'index($0, name ":") == 1 { sub(/^[^=]*=/, ""); found = $0 == value }
                                           END { exit !found }' "$cache" || return 1
  done
}

if [ -n "$tree" ] && ! configured_as_package "$tree"; then
  echo "$tree is not configured as the package is: building build/package" >&2
  tree=
fi
if [ -n "$tree" ]; then
  dir=$tree
  cmake --build "$dir" -j "$jobs" --target pristroje pristroje_manual
else
  dir=build/package
  launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  cmake -G Ninja -S . -B "$dir" "${config[@]}" -DPRISTROJE_TESTS=OFF -DPRISTROJE_BENCH=OFF \
    "${launcher[@]}" >/dev/null
  cmake --build "$dir" -j "$jobs"
fi

rm -f build/pristroje_*.deb "$dir"/pristroje_*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
mkdir -p build
mv "$dir"/pristroje_*.deb build/
ls build/pristroje_*.deb
