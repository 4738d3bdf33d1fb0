#!/usr/bin/env bash
# Regenerates the pictures of the README (doc/*.png) with the headless runner
# on the virtual bench, so they always show what the program draws today.
# Runs on virtual time: the same program gives byte-identical pictures.
#
#   scripts/readme_pictures.sh                   builds build/release, writes doc/*.png
#   scripts/readme_pictures.sh --check BINARY    draws them with BINARY and fails when
#                                                one differs from doc/ (a test runs this)
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" = "--check" ]; then
  program=${2:?usage: readme_pictures.sh [--check BINARY]}
  out=$(mktemp -d /tmp/pristroje-pictures.XXXXXX)
  trap 'rm -rf "$out"' EXIT
else
  scripts/deps.sh
  cmake -G Ninja -S . -B build/release -DCMAKE_BUILD_TYPE=Release >/dev/null  # scripts/run.sh's tree
  cmake --build build/release -j "$(nproc 2>/dev/null || echo 2)" --target pristroje
  program=build/release/pristroje
  out=doc
  mkdir -p doc
fi

stale=0
# Says that doc/NAME was written, or (--check) whether the one drawn matches it.
written() {  # name
  if [ "$out" = doc ]; then
    echo "wrote doc/$1"
  elif ! cmp -s "$out/$1" "doc/$1"; then
    echo "doc/$1 is stale: run scripts/readme_pictures.sh" >&2
    stale=1
  fi
}
picture() {  # name, arguments...
  local name=$1; shift
  "$program" --audio=bench --headless "$@" --snapshot "$out/$name"
  written "$name"
}
# The analog instruments, the generator turned up.
picture pristroje.png --do track:TrackBar1=20000 --run-for 3
# The digital readouts, and the source's voltage with the generator's frequency.
picture pristroje-digital.png --do track:TrackBar1=20000 --do menu:rukovstdavvoltmetr1 \
  --do menu:digitlnstdavamprmetr50Hz1 --do menu:digitlnvoltmetrstdavhozdroje50Hz1 --run-for 3
# The lab's graph: the resonance curve of a series RLC circuit, swept 20 Hz .. 1 kHz in 40 steps.
lab_picture() {  # name, arguments...
  local name=$1; shift
  "$program" --audio=bench --headless "$@" --do "lab:plot=$out/$name"
  written "$name"
}
lab_picture pristroje-resonance.png --bench-circuit R=10,L=100m,C=10u --do track:TrackBar1=20000 \
  --do lab:graph=CurrentMilliamps:FrequencyHz:logx --do lab:sweep=20..1000/40/log
exit $stale
