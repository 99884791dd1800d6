#!/usr/bin/env bash
# Sets up a fresh machine, makes the Debian package from a Release build
# (build-release/) and installs it: velta and VeltaEdit in the desktop's
# menu, the programs in /usr/games, the game's data in /usr/share/games/velta.
# Remove it again with: apt-get remove velta
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DVELTA_TESTS=OFF -DVELTA_BENCH=OFF
cmake --build build-release -j"$(nproc)"
(cd build-release && cpack -G DEB)
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y "$(realpath build-release/velta_*_amd64.deb)"
