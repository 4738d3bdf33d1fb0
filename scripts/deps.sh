#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need,
# when any of them is missing. Runs apt-get as root, or through sudo.
# With arguments, installs those packages instead (scripts/package.sh does).
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev libxcb1-dev qt6-translations-l10n
  libasound2-dev libsndfile1-dev libsamplerate0-dev
  libgtest-dev libbenchmark-dev
  fonts-liberation fonts-urw-base35 fonts-dejavu-core
  pulseaudio pulseaudio-utils libasound2-plugins alsa-utils
  pipewire pipewire-pulse wireplumber dbus-daemon
  xvfb xauth
  xdotool imagemagick
  weston qt6-wayland
  libqt6svg6 dpkg-dev file help2man lintian desktop-file-utils appstream man-db
  libqcustomplot-dev qt6-svg-dev python3
  libgsl-dev
  qt6-httpserver-dev qt6-websockets-dev libqrencode-dev libjs-dygraphs zbar-tools chromium
  poppler-utils
)
[ $# -gt 0 ] && packages=("$@")

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
