#!/usr/bin/env bash
# Compares two builds of the program on the same headless runs: the images,
# the snapshot and the state must be byte-identical. For changes that must not
# change behaviour (moving code, renaming).
#   scripts/compare_builds.sh OLD_BINARY NEW_BINARY     (KEEP=1: keep the outputs)
set -uo pipefail
old=$1
new=$2
work=$(mktemp -d /tmp/pristroje-compare.XXXXXX)
# KEEP=1 keeps the outputs and says where they are.
if [ -n "${KEEP:-}" ]; then echo "outputs in $work" >&2; else trap 'rm -rf "$work"' EXIT; fi
# The runs read no profile of the user's.
export XDG_CONFIG_HOME="$work/config"

runs=(
  "--audio=bench --run-for 2"
  "--audio=sim --run-for 1"
  "--audio=bench --bench-load 10 --do track:TrackBar1=32000 --do wait:1 --do track:TrackBar2=53 --run-for 1"
  "--audio=bench --do menu:digitlnstdavamprmetr50Hz1 --do menu:digitlnvoltmetrstdavhozdroje50Hz1 --run-for 1"
  "--audio=bench --do menu:rukovstdavvoltmetr1 --do menu:NEZOBRAZITAMPRMETR1 --do track:TrackBar1=16000 --run-for 1.5"
  "--audio=bench --do menu:digitlnvoltmetrstejnosmrnhozdroje2 --do track:TrackBar2=1000 --run-for 1"
  "--audio=bench --do menu:zobrazitvoltmetrstejnosmrnhozdroje4 --do menu:NEZOBRAZITVOLTMETR1 --run-for 1"
  "--audio=bench --do menu:zobrazitvoltmetrstejnosmrnhozdroje3 --do menu:rukovstejnosmrnamprmetr1 --run-for 1"
  "--audio=bench --bench-load 1000 --bench-noise 30 --bench-seed 7 --do track:TrackBar1=500 --run-for 2"
  "--audio=bench --bench-input-gain 0.5 --bench-output-gain 1.6 --do track:TrackBar1=32000 --do wait:3 --do calibrate:ammeter=10 --do calibrate:source=1.5 --run-for 1"
  "--audio=sim --do menu:digitlnvoltmetrstdavhozdroje50Hz1 --do track:TrackBar1=0 --run-for 1"
  "--audio=bench --bench-input-gain 2 --bench-output-gain 0.5 --calibration cal.json --do track:TrackBar1=20000 --do wait:3 --do calibrate:voltmeter=1 --do calibration:save --run-for 1"
  "--audio=bench --bench-circuit R=10,L=100m,C=10u --do track:TrackBar1=16000 --do lab:sweep=20..1000/40/log --do lab:graph=CurrentMilliamps:FrequencyHz --do lab:fit --do lab:export=sweep.csv --do lab:plot=sweep.png --run-for 0.5"
  "--audio=bench --bench-circuit R=100,C=10u --do track:TrackBar1=8000 --do lab:record=start --do lab:interval=0.5 --do wait:3 --do lab:record=stop --do lab:point --do lab:graph=VoltageMillivolts:CurrentMilliamps --do lab:fit --do lab:export=points.csv --run-for 1"
)

status=0
i=0
for args in "${runs[@]}"; do
  i=$((i + 1))
  for side in old new; do
    bin=$(realpath "$old"); [ "$side" = new ] && bin=$(realpath "$new")
    out="$work/$i-$side"
    mkdir -p "$out"
    # shellcheck disable=SC2086
    (cd "$out" && "$bin" --headless $args --images "$out/images" --snapshot "$out/snapshot.png" --state "$out/state.json" \
      --print-readouts >"$out/stdout" 2>"$out/stderr"
    echo $? >"$out/exit")
  done
  # A saved profile carries the time it was made.
  if diff -r -I "\"Created\":" "$work/$i-old" "$work/$i-new" >/dev/null; then
    echo "same     $args"
  else
    echo "DIFFERS  $args"
    diff -r "$work/$i-old" "$work/$i-new" | head -5
    status=1
  fi
done
exit $status
