#!/usr/bin/env bash
# Sets up a fresh machine, builds everything and starts the game from its folder.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
cd build/dist
exec ./velta "$@"
