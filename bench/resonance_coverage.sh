#!/usr/bin/env bash
# How often the stated 1σ interval of the resonance fit's f0 holds the truth,
# on the bench: R=100, L=100m, C=1u (f0 = 503.29 Hz), 30 logarithmic steps
# from 20 to 1000 Hz, the current about 1 % noisy at the ends, over RUNS
# different noise seeds. A standard uncertainty that is right holds the
# truth in about 68 % of the runs.
#   bench/resonance_coverage.sh PRISTROJE [RUNS] [NOISE]
set -euo pipefail
program=${1:?usage: $0 path/to/pristroje [runs] [noise]}
runs=${2:-200}
noise=${3:-4}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
export QT_QPA_PLATFORM=offscreen HOME="$dir" XDG_CONFIG_HOME="$dir/config"
for seed in $(seq 1 "$runs"); do
  "$program" --headless --audio=bench --bench-circuit R=100,L=100m,C=1u --bench-noise "$noise" --bench-seed "$seed" \
    --do track:TrackBar1=20000 --do lab:sweep=20..1000/30/log --do lab:graph=CurrentMilliamps:FrequencyHz:logx \
    --do lab:fit=resonance --state "$dir/$seed.json" >/dev/null
done
python3 - "$dir" "$runs" <<'PY'
import json, math, statistics, sys
folder, runs = sys.argv[1], int(sys.argv[2])
truth = 1 / (2 * math.pi * math.sqrt(0.1 * 1e-6))
inside, errors, stated = 0, [], []
for seed in range(1, runs + 1):
    fit = json.load(open(f"{folder}/{seed}.json"))["lab"]["Fit"]
    error = fit["F0"] - truth
    errors.append(error)
    stated.append(fit["F0Uncertainty"])
    inside += abs(error) <= fit["F0Uncertainty"]
print(f"f0 truth {truth:.3f} Hz; {runs} runs: mean error {statistics.mean(errors):+.4f} Hz, "
      f"scatter {statistics.stdev(errors):.4f} Hz, median stated u(f0) {statistics.median(stated):.4f} Hz")
print(f"the stated 1σ interval holds the truth in {inside}/{runs} = {100 * inside / runs:.1f} % of the runs")
PY
