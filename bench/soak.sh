#!/usr/bin/env bash
# Soak test on real sound: runs the program headless on ALSA against a private
# sound server for N minutes of wall time (default 10) and reports
#   - lost recorded blocks: blocks the recorder should have had by the clock
#     (44100 / 2500 per second) minus those it got, beyond a start-up allowance
#     (target 0), and the same for the player's buffers;
#   - over/underruns the driver recovered from, and any device error;
#   - the program's CPU use.
#
#   bench/soak.sh [MINUTES]          (PRISTROJE_BIN overrides the program)
#
# It uses a running test sound server when PRISTROJE_REALAUDIO is set (as
# under scripts/test.sh), else starts its own with scripts/sound_server.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

minutes=${1:-10}
[[ $minutes =~ ^[0-9]+([.][0-9]+)?$ ]] || { echo "usage: bench/soak.sh [MINUTES]" >&2; exit 2; }
seconds=$(awk -v m="$minutes" 'BEGIN { printf "%d", m * 60 }')

bin=${PRISTROJE_BIN:-}
if [ -z "$bin" ]; then
  for b in build/release/pristroje build/pristroje; do [ -x "$b" ] && { bin=$b; break; }; done
fi
[ -n "$bin" ] && [ -x "$bin" ] || { echo "no program found: build it (scripts/run.sh) or set PRISTROJE_BIN" >&2; exit 1; }

work=$(mktemp -d /tmp/pristroje-soak.XXXXXX)
server_started=0
cleanup() {
  [ "$server_started" = 1 ] && scripts/sound_server.sh stop "$work/server" || true
  rm -rf "$work"
}
trap cleanup EXIT
if [ -z "${PRISTROJE_REALAUDIO:-}" ]; then
  mkdir -p "$work/server"
  eval "$(scripts/sound_server.sh start "$work/server")"
  server_started=1
fi

# Reads a value from the state file (jq, else python3); prints "n/a" when absent.
state_value() {  # path as in jq: .audio.AudioIn1.FilledCount
  if command -v jq >/dev/null; then
    jq -r "$1 // \"n/a\"" "$work/state.json"
  else
    python3 - "$work/state.json" "$1" <<'PY'
import json, sys
v = json.load(open(sys.argv[1]))
for key in sys.argv[2].lstrip('.').split('.'):
    v = v.get(key) if isinstance(v, dict) else None
print("n/a" if v is None else v)
PY
  fi
}

echo "soak: $bin --headless --audio=alsa --run-for $seconds  ($minutes min)"
TIMEFORMAT='%U %S %R'
status=0
{ time QT_QPA_PLATFORM=offscreen "$bin" --headless --audio=alsa --run-for "$seconds" \
    --state "$work/state.json" >"$work/stdout" 2>"$work/stderr"; } 2>"$work/time" || status=$?
read -r user sys real <"$work/time"
if [ "$status" != 0 ] || [ ! -s "$work/state.json" ]; then
  echo "the program failed (exit $status); its error output:" >&2
  tail -20 "$work/stderr" >&2
  exit 1
fi

filled=$(state_value .audio.AudioIn1.FilledCount)
done_out=$(state_value .audio.AudioOut1.DoneCount)
in_error=$(state_value .audio.AudioIn1.ErrorMessage)
out_error=$(state_value .audio.AudioOut1.ErrorMessage)
xruns_in=$(state_value .audio.Overruns)
xruns_out=$(state_value .audio.Underruns)
device_error=$(state_value .audio.DeviceError)
# The driver also says every over/underrun on stderr.
stderr_in=$(grep -c '^audio: capture overrun' "$work/stderr" || true)
stderr_out=$(grep -c '^audio: playback underrun' "$work/stderr" || true)

awk -v secs="$seconds" -v filled="$filled" -v played="$done_out" -v user="$user" -v sys="$sys" -v real="$real" '
BEGIN {
  expect_in = int(secs * 44100 / 2500); expect_out = int(secs * 22050 / 4096)
  # Start-up allowance: the first block needs the device latency (well under 0.5 s);
  # the player keeps four buffers queued.
  lost_in = expect_in - filled - 9; if (lost_in < 0) lost_in = 0
  lost_out = expect_out - played - 4 - 3; if (lost_out < 0) lost_out = 0
  printf "recorded blocks   %d of %d expected by the clock -> lost %d (target 0)\n", filled, expect_in, lost_in
  printf "played buffers    %d of %d expected by the clock -> lost %d (target 0)\n", played, expect_out, lost_out
  printf "cpu               %.2f s user + %.2f s system over %.1f s = %.2f %% of one core\n", user, sys, real, (user + sys) * 100 / real
  exit (lost_in > 0 || lost_out > 0) ? 1 : 0
}' || status=1
echo "xruns             capture $xruns_in, playback $xruns_out (lines on stderr: $stderr_in / $stderr_out)"
echo "device error      ${device_error:-none}"
echo "component errors  AudioIn1: '${in_error}'  AudioOut1: '${out_error}'"
exit $status
