#!/usr/bin/env bash
# Reads the instruments and the circuit's quantities against the bench's truth
# (--state bench) across the band and at a low level, on the bench as another
# card (input and output gains other than 1), calibrated once as the README
# says (53 Hz, full amplitude, 100 ohm); then once more without a profile on
# the reference card. Headless runs on virtual time: the figures repeat.
#
#   bench/circuit_accuracy.sh [BINARY] [INPUT_GAIN] [OUTPUT_GAIN]
#
# Prints one line per run (errors of the ammeter, the voltmeter, f, |Z|, P in
# %, of the phase in degrees; "clip" where a channel reached full scale) and
# the worst of each over the runs that did not clip.
set -euo pipefail
binary=${1:-build/pristroje}
input_gain=${2:-0.5}
output_gain=${3:-1.6}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config

# state FILE ARGS...: a headless run that writes --state into FILE.
state() {
    local out=$1
    shift
    "$binary" --headless --audio=bench "$@" --state "$out" >/dev/null
}
card=(--bench-input-gain "$input_gain" --bench-output-gain "$output_gain")
show=(--do menu:digitlnvoltmetrstdavhozdroje50Hz1)

# The calibration: the meter's reading of the truth at 53 Hz, full amplitude.
state "$work/truth.json" "${card[@]}" "${show[@]}" --do track:TrackBar2=53 --do track:TrackBar1=32000 --run-for 3
read -r amps volts < <(python3 -c '
import json, sys
b = json.load(open(sys.argv[1]))["bench"]
print("%.6f %.8f" % (b["CurrentMilliamps"], b["LoadMillivolts"] / 1000))' "$work/truth.json")
state "$work/calibrated.json" "${card[@]}" "${show[@]}" --do track:TrackBar2=53 --do track:TrackBar1=32000 \
    --do wait:3 --do "calibrate:ammeter=$amps" --do "calibrate:voltmeter=$volts" --do calibration:save

runs=()
for setup in profile reference; do
    for load in "--bench-load 100" "--bench-circuit R=1k,C=1u" "--bench-circuit R=100,C=10u" \
        "--bench-circuit R=10,L=100m" "--bench-circuit R=10,L=100m,C=10u"; do
        for hz in 20 50 200 1000; do
            for position in 32000 1600; do
                name="$setup|$load|$hz|$position"
                file="$work/run${#runs[@]}.json"
                if [ "$setup" = profile ]; then
                    # shellcheck disable=SC2086
                    state "$file" "${card[@]}" $load "${show[@]}" --do "track:TrackBar2=$hz" \
                        --do "track:TrackBar1=$position" --run-for 2.5
                else
                    # shellcheck disable=SC2086
                    state "$file" --no-calibration $load "${show[@]}" --do "track:TrackBar2=$hz" \
                        --do "track:TrackBar1=$position" --run-for 2.5
                fi
                runs+=("$name=$file")
            done
        done
    done
done

python3 - "${runs[@]}" <<'EOF'
import json, sys

def rel(got, want):
    return None if got is None or not want else 100.0 * (got / want - 1)

worst = {}
print("%-9s %-30s %5s %6s %8s %8s %8s %8s %8s %8s" % ("constants", "load", "Hz", "level", "I %", "U %", "f %",
                                                      "|Z| %", "phi deg", "P %"))
for arg in sys.argv[1:]:
    name, path = arg.rsplit("=", 1)
    setup, load, hz, position = name.split("|")
    s = json.load(open(path))
    b, c, st = s["bench"], s["circuit"], s["state"]
    clip = c["CurrentOverload"] or c["VoltageOverload"]
    row = {
        "I %": rel(st["AmmeterValue"], b["CurrentMilliamps"]) if setup == "profile" else None,
        "U %": rel(st["VoltmeterValue"], b["LoadMillivolts"]) if setup == "profile" else None,
        "f %": rel(c["FrequencyHz"], float(hz)),
        "|Z| %": rel(c["ImpedanceOhms"], b["ImpedanceOhms"]),
        "phi deg": None if c["PhaseDegrees"] is None else c["PhaseDegrees"] - b["PhaseDegrees"],
        "P %": rel(c["PowerMilliwatts"], b["PowerMilliwatts"]),
    }
    cells = " ".join("%8s" % ("-" if v is None else "%+.3f" % v) for v in row.values())
    print("%-9s %-30s %5s %6s %s%s" % (setup, load, hz, position, cells, "  clip" if clip else ""))
    if clip:
        continue
    for key, v in row.items():
        if v is not None and abs(v) > abs(worst.get((setup, key), (0, ""))[0]):
            worst[(setup, key)] = (v, "%s %s Hz %s" % (load, hz, position))
print()
for (setup, key), (v, where) in sorted(worst.items()):
    print("worst %-9s %-8s %+.3f  (%s)" % (setup, key, v, where))
EOF
