#!/usr/bin/env bash
# Measures the CPU use of the program with its window open on a virtual
# display, with nothing to do but follow the simulated card (a block every
# 56.7 ms, a played buffer every 186 ms). A spinning idle loop would show
# about 100 %; the target is a few percent.
#   bench/idle_cpu.sh [SECONDS] [BINARY] [extra program arguments...]
set -euo pipefail
seconds=${1:-10}
binary=${2:-build/release/pristroje}
shift $(( $# > 2 ? 2 : $# ))
command -v Xvfb >/dev/null || { echo "Xvfb is not installed (scripts/deps.sh installs it)" >&2; exit 1; }

display=:$(( 90 + RANDOM % 100 ))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
sleep 1

DISPLAY=$display QT_QPA_PLATFORM=xcb "$binary" --audio=sim "$@" &
pid=$!
sleep 2  # start-up is not what we measure
ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
hz=$(getconf CLK_TCK)
before=$(ticks)
sleep "$seconds"
after=$(ticks)
kill "$pid"; wait "$pid" 2>/dev/null || true
awk -v b="$before" -v a="$after" -v hz="$hz" -v s="$seconds" \
  'BEGIN { printf "cpu: %.2f %% of one core over %d s (%.2f s of CPU)\n", 100 * (a - b) / hz / s, s, (a - b) / hz }'
