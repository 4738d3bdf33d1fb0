#!/usr/bin/env bash
# Regenerates the pictures of the README (doc/*.png) with the headless runner
# on the virtual bench, so they always show what the program draws today.
# Runs on virtual time: the same program gives byte-identical pictures.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
cmake -G Ninja -S . -B build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/release -j "$(nproc 2>/dev/null || echo 2)" --target pristroje
mkdir -p doc

picture() {  # file, arguments...
  local file=$1; shift
  build/release/pristroje --audio=bench --headless "$@" --snapshot "$file"
  echo "wrote $file"
}
# The analog instruments, the generator turned up.
picture doc/pristroje.png --do track:TrackBar1=20000 --run-for 3
# The digital readouts, and the source's voltage with the generator's frequency.
picture doc/pristroje-digital.png --do track:TrackBar1=20000 --do menu:rukovstdavvoltmetr1 \
  --do menu:digitlnstdavamprmetr50Hz1 --do menu:digitlnvoltmetrstdavhozdroje50Hz1 --run-for 3
