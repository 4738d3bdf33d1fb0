#!/usr/bin/env bash
# CPU of the open window on live input, side by side with a peer program on
# the same input: a 50 Hz sine played into a private sound server's null sink
# (scripts/sound_server.sh), whose monitor is ALSA's default capture device;
# each program runs on a virtual display, one after the other in the same call,
# measured over the same number of seconds after a settling time.
#
#   bench/live_cpu.sh [SECONDS] [ROUNDS] [--floor] [--vs PEER_COMMAND...]
#     e.g. bench/live_cpu.sh 20 3 --floor --vs xoscope
#
# --floor also measures arecord on the same input, with our period: what any
# capture client pays there (mostly the sound library's own thread, woken at
# the server's pace whatever the period), to read the figures against.
# Prints each program's share of one core (user + system, all threads), the
# busiest threads, and with a peer the ratio ours / peer for every round and
# their range. The machine's other load adds noise to both: compare rounds.
# PRISTROJE_BIN overrides the program; PRISTROJE_DISPLAY the display (:97).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-20}
rounds=${2:-1}
shift $(( $# > 2 ? 2 : $# ))
peer=()
floor=false
if [ "${1:-}" = --floor ]; then floor=true; shift; fi
if [ "${1:-}" = --vs ]; then shift; peer=("$@"); fi
[[ $seconds =~ ^[0-9]+$ && $rounds =~ ^[0-9]+$ ]] || { sed -n 8,10p "$0" >&2; exit 2; }

for tool in Xvfb sox aplay pactl pulseaudio; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (scripts/deps.sh installs the test tools; sox: apt-get install sox)" >&2; exit 1; }
done
[ ${#peer[@]} -eq 0 ] || command -v "${peer[0]}" >/dev/null || { echo "${peer[0]} is not installed" >&2; exit 1; }
bin=${PRISTROJE_BIN:-build/release/pristroje}
[ -x "$bin" ] || { echo "no program at $bin: build it first" >&2; exit 1; }
display=${PRISTROJE_DISPLAY:-:97}

work=$(mktemp -d /tmp/pristroje-livecpu.XXXXXX)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  scripts/sound_server.sh stop "$work/server" || true
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/server"
eval "$(scripts/sound_server.sh start "$work/server")"

Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
sox -n -r 44100 -c 2 -b 16 "$work/sine.wav" synth $(( (seconds + 10) * rounds * 2 + 30 )) sine 50 vol 0.5
aplay -q -D default "$work/sine.wav" 2>/dev/null &
pids+=($!)
sleep 1

hz=$(getconf CLK_TCK)
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
threads() { for t in /proc/$1/task/*; do printf '%s %s %s\n' "${t##*/}" "$(tr ' ' _ < "$t/comm")" "$(awk '{ print $14 + $15 }' "$t/stat")"; done | sort; }

# measure NAME COMMAND...: prints the per-thread figures, leaves the percentage in $result.
measure() {
  local name=$1; shift
  DISPLAY=$display QT_QPA_PLATFORM=xcb "$@" >"$work/$name.log" 2>&1 &
  local pid=$!
  pids+=("$pid")
  sleep 6  # start-up is not what we measure
  kill -0 "$pid" 2>/dev/null || { echo "$name did not start:" >&2; tail -5 "$work/$name.log" >&2; exit 1; }
  threads "$pid" >"$work/t0"; local t0; t0=$(ticks "$pid")
  sleep "$seconds"
  threads "$pid" >"$work/t1"; local t1; t1=$(ticks "$pid")
  kill "$pid"; wait "$pid" 2>/dev/null || true
  join "$work/t0" "$work/t1" | awk -v s="$seconds" -v hz="$hz" \
    '{ d = $5 - $3; if (d > 0) printf "    thread %-16s %5.2f %%\n", $2, 100 * d / hz / s }' | sort -k3 -nr | head -6
  result=$(awk -v a="$t0" -v b="$t1" -v s="$seconds" -v hz="$hz" 'BEGIN { printf "%.2f", 100 * (b - a) / hz / s }')
  echo "  $name: $result % of a core over $seconds s"
}

ratios=()
for r in $(seq 1 "$rounds"); do
  echo "round $r (load average $(cut -d' ' -f1 /proc/loadavg)):"
  measure pristroje "$bin"
  ours=$result
  if $floor; then
    measure arecord arecord -q -D default -f S16_LE -r 44100 -c 2 --period-size=2500 --buffer-size=22050 /dev/null
  fi
  if [ ${#peer[@]} -gt 0 ]; then
    measure "${peer[0]}" "${peer[@]}"
    ratios+=("$(awk -v a="$ours" -v b="$result" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }')")
    echo "  ratio: ${ratios[-1]}"
  fi
done
if [ ${#ratios[@]} -gt 0 ]; then
  printf '%s\n' "${ratios[@]}" | sort -n | awk '{ v[NR] = $1 } END { printf "ratio over %d rounds: %s .. %s\n", NR, v[1], v[NR] }'
fi
