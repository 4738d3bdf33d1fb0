#!/usr/bin/env bash
# The CMake settings of a tree the Debian package is made from, one argument a
# line: a Release build with Debian's hardening flags, as a Debian build would
# use them. scripts/package.sh configures build/package so; scripts/test.sh
# configures its own tree so too, and the package test then makes the package
# from that tree instead of compiling the program a third time.
set -euo pipefail
cd "$(dirname "$0")/.."  # dpkg-buildflags maps the current folder to "." in debug info

flags() { DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1"; }
echo "-DCMAKE_BUILD_TYPE=Release"
echo "-DCMAKE_CXX_FLAGS=$(flags CPPFLAGS) $(flags CXXFLAGS)"
echo "-DCMAKE_EXE_LINKER_FLAGS=$(flags LDFLAGS)"
echo "-DPRISTROJE_SANITIZE=OFF"
