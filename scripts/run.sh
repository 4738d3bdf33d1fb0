#!/usr/bin/env bash
# Installs what is missing, builds (Release) and starts the program on the
# virtual measuring bench. With a display it opens the window; without one it
# runs headless for 3 s of virtual time and writes build/demo.png and
# build/demo.json. Extra arguments are passed to the program.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
cmake -G Ninja -S . -B build/release -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release -j "$(nproc 2>/dev/null || echo 2)" --target pristroje

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec build/release/pristroje --audio=bench "$@"
fi
build/release/pristroje --audio=bench --headless --do track:TrackBar1=20000 --run-for 3 \
  --snapshot build/demo.png --state build/demo.json --print-readouts "$@"
echo "wrote build/demo.png and build/demo.json"
