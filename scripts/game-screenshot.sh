#!/usr/bin/env bash
# Takes the picture of the game that the software centre shows (docs/velta.png):
# a frame of the main game's first stage as the replay that the tests play
# reaches it, drawn by velta-replay on the headless backend and enlarged three
# times without smoothing, as the game's window shows it.
#
#     scripts/game-screenshot.sh [DIST] [OUT.png]
#
# DIST is the built game folder (default build/dist), OUT.png the picture to
# write (default docs/velta.png).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
dist=${1:-$root/build/dist}
out=${2:-$root/docs/velta.png}
# A moment with the player in mid-jump among blocks, coins and an enemy.
readonly FRAME=${VELTA_SCREENSHOT_FRAME:-260}
if [ ! -x "$dist/velta-replay" ]; then
  echo "No velta-replay in $dist. Build it first (in $root):" >&2
  echo "    cmake -S . -B build && cmake --build build -j2" >&2
  exit 1
fi
command -v convert >/dev/null || {
  echo "ImageMagick's convert is missing (scripts/install-deps.sh installs it)" >&2
  exit 1
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$dist/velta-replay" --game-folder "$dist" --save "$FRAME" "$work/frame.png" \
  def.vtg 0 "$root/tests/replay/stages/def/00.txt" >/dev/null
convert "$work/frame.png" -filter point -resize 300% "$out"
echo "wrote $out"
