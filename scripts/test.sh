#!/usr/bin/env bash
# Installs what is missing, builds a normal and an ASan+UBSan configuration
# (build/test, configured as the Debian package is, and build/asan; warnings are
# errors), starts a private sound server for the tests that use real ALSA
# devices, runs the whole ctest suite in both configurations, and exits non-zero
# on any failure.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

scripts/deps.sh || exit 1

jobs=$(nproc 2>/dev/null || echo 2)
configure() {  # dir, extra cmake args...
  local dir=$1; shift
  cmake -G Ninja -S "$root" -B "$dir" -DPRISTROJE_WERROR=ON "$@" >/dev/null
}

# The first tree as the package is built, so that the package test makes the
# package from it (scripts/package.sh --tree) instead of compiling it again.
package_config=$(scripts/package_config.sh) || exit 1
mapfile -t package_config <<<"$package_config"
configure build/test "${package_config[@]}" || exit 1
cmake --build build/test -j "$jobs" || exit 1

server_dir=$(mktemp -d /tmp/pristroje-sound.XXXXXX)
cleanup() { scripts/sound_server.sh stop "$server_dir"; rm -rf "$server_dir"; }
trap cleanup EXIT
eval "$(scripts/sound_server.sh start "$server_dir")" || { echo "could not start the test sound server" >&2; exit 1; }

# An X server of its own for the real-window tests (tests/gui), on a display
# number it picks free itself; only those tests get its display.
xvfb_fd_file="$server_dir/xvfb-display"
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$xvfb_fd_file" >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null; cleanup' EXIT
for _ in $(seq 50); do [ -s "$xvfb_fd_file" ] && break; sleep 0.1; done
[ -s "$xvfb_fd_file" ] || { echo "could not start Xvfb for the window tests" >&2; exit 1; }
gui_display=":$(head -n1 "$xvfb_fd_file")"

# A Wayland compositor for the same tests (weston, 1366 x 768), native.
wayland_dir="$server_dir/wayland"
mkdir -p "$wayland_dir"
trap 'scripts/wayland_session.sh stop "$wayland_dir"; kill "$xvfb_pid" 2>/dev/null; cleanup' EXIT
wayland_exports=$(scripts/wayland_session.sh start "$wayland_dir" 1366 768) ||
  { echo "could not start weston for the window tests" >&2; exit 1; }

# What Qt expects of a session: a private runtime folder (without one each
# test program says so on stderr).
export XDG_RUNTIME_DIR="$server_dir/qt-runtime"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1
export LSAN_OPTIONS=suppressions=$root/tests/support/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

status=0
run_suite() {  # config
  local config=$1
  echo "=== $config ==="
  # Tests on the shared sound server run one at a time; the rest in parallel.
  ctest --test-dir "build/$config" --output-on-failure -j "$jobs" -LE 'realaudio|package|gui' || status=1
  ctest --test-dir "build/$config" --output-on-failure -L realaudio || status=1
  (eval "$wayland_exports" &&
    PRISTROJE_GUI_DISPLAY=$gui_display ctest --test-dir "build/$config" --output-on-failure -L gui) || status=1
}

run_suite test
# The Debian package, made from build/test, where dpkg-deb exists.
if command -v dpkg-deb >/dev/null; then
  echo "=== package ==="
  ctest --test-dir build/test --output-on-failure -L package || status=1
fi

# The tests on real devices once more against PipeWire, as Debian's desktops run it.
pw_dir=$(mktemp -d /tmp/pristroje-pipewire.XXXXXX)
echo "=== test, on PipeWire ==="
(eval "$(PRISTROJE_SOUND_SERVER=pipewire scripts/sound_server.sh start "$pw_dir")" &&
  ctest --test-dir build/test --output-on-failure -L realaudio) || status=1
PRISTROJE_SOUND_SERVER=pipewire scripts/sound_server.sh stop "$pw_dir"; rm -rf "$pw_dir"

# The sanitizer tree after the first one's tests: a build beside the tests of
# real devices and windows would make their timing the machine's load.
if configure build/asan -DCMAKE_BUILD_TYPE=Debug -DPRISTROJE_SANITIZE=ON -DPRISTROJE_BENCH=OFF &&
  cmake --build build/asan -j "$jobs"; then
  run_suite asan
else
  echo "the ASan+UBSan build failed" >&2
  status=1
fi
exit $status
