#!/usr/bin/env bash
# Installs the Debian packages the build, the game and the tests need.
# Idempotent: packages already installed are skipped, and apt is only asked
# when something is missing.
set -euo pipefail

packages=(
  cmake g++ make pkg-config ccache clang-format
  libsdl2-dev libsdl2-mixer-dev libsdl2-ttf-dev libfontconfig-dev libx11-dev
  libfluidsynth-dev timgm6mb-soundfont libpng-dev
  fonts-ipafont-mincho fonts-ipafont-gothic fonts-liberation2 xfonts-efont-unicode
  qt6-base-dev qt6-tools-dev qt6-l10n-tools
  libgtest-dev libbenchmark-dev
  xvfb xdotool
  imagemagick x11-utils
  dpkg-dev file desktop-file-utils appstream
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
fi
