#!/usr/bin/env bash
# Takes the picture of the stage editor shown in the README: VeltaEdit under a
# private X server with a window manager (openbox), the main game's stages
# opened through File > Open, and the main window with the object selector
# beside it cut out of the screen.
#
#     scripts/editor-screenshot.sh [DIST] [OUT.png]
#
# DIST is the built game folder (default build/dist; copied, never written),
# OUT.png the picture to write (default docs/veltaedit.png).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
dist=${1:-$root/build/dist}
out=${2:-$root/docs/veltaedit.png}
if [ ! -x "$dist/editor/VeltaEdit" ]; then
  echo "No editor in $dist/editor/VeltaEdit. Build it first (in $root):" >&2
  echo "    cmake -S . -B build && cmake --build build -j2" >&2
  exit 1
fi
dist=$(realpath "$dist")
out=$(realpath -m "$out")

source "$root/tests/real/x_session.sh"
require_x_tools
if ! command -v openbox >/dev/null; then
  [ "$(id -u)" -eq 0 ] || fail "openbox is not installed: apt-get install openbox (as root this script does it)"
  note "installing openbox"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq openbox >/dev/null
fi

# The margin kept around the windows' frames, in pixels.
readonly MARGIN=8

start_session screenshot "$dist" "$root/tests/real/lsan.supp"
# Only the picture counts here; the programs are stopped by a signal at the end.
export ASAN_OPTIONS="detect_leaks=0:verify_asan_link_order=0"
PROGRAM_PRELOAD=
start_x_server
export QT_QPA_PLATFORM=xcb

run_in_background "$WORK/openbox" openbox
openbox=$LAST_PID
window_manager_running() {
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'
}
wait_until 30 window_manager_running || fail "openbox did not start ($WORK/openbox.err)"

start_editor
editor=$EDITOR_PID main=$MAIN_WINDOW selector=$SELECTOR_WINDOW

note "File > Open $GAME/stage/def.vtg"
open_menu "$main" "$editor" alt+f
xdotool key o
dialog=$(wait_for_window '^開く$' "$editor" 30)
focus_window "$dialog"
xdotool type --delay 20 "$GAME/stage/def.vtg"
xdotool key Return
title_shows_file() {
  xdotool getwindowname "$main" 2>/dev/null | grep -q 'def\.vtg$'
}
wait_until 30 title_shows_file || fail "the title does not name def.vtg: $(xdotool getwindowname "$main")"
wait_until 10 window_gone "$dialog" || fail "the file dialog is still open"
kill -0 "$openbox" 2>/dev/null || fail "openbox ended"

# frame_of WINDOW: the window manager's frame around a window (its ancestor
# just below the root window) as "LEFT TOP RIGHT BOTTOM", borders included.
frame_of() {
  local id=$1 parent info
  while :; do
    info=$(xwininfo -tree -id "$id")
    parent=$(sed -n 's/^ *Parent window id: \(0x[0-9a-f]*\).*/\1/p' <<<"$info")
    grep -q "Root window id: $parent" <<<"$info" && break
    id=$parent
  done
  xwininfo -id "$id" | awk -F: '
    /Absolute upper-left X/ { x = $2 } /Absolute upper-left Y/ { y = $2 }
    /Width/ { w = $2 } /Height/ { h = $2 } /Border width/ { b = $2 }
    END { print x - b, y - b, x + w + b, y + h + b }'
}

# Away from the windows, so that nothing shows as hovered.
xdotool mousemove 1023 767
wait_for_placed_window "$main"
wait_for_placed_window "$selector"
read -r l1 t1 r1 b1 < <(frame_of "$main")
read -r l2 t2 r2 b2 < <(frame_of "$selector")
eval "$(xdotool getdisplaygeometry --shell)"
left=$(((l1 < l2 ? l1 : l2) - MARGIN))
top=$(((t1 < t2 ? t1 : t2) - MARGIN))
right=$(((r1 > r2 ? r1 : r2) + MARGIN))
bottom=$(((b1 > b2 ? b1 : b2) + MARGIN))
((left < 0)) && left=0
((top < 0)) && top=0
((right > WIDTH)) && right=$WIDTH
((bottom > HEIGHT)) && bottom=$HEIGHT

wait_for_still_picture root screen 64 30
mkdir -p "$(dirname "$out")"
convert "$WORK/screen.png" -crop "$((right - left))x$((bottom - top))+$left+$top" +repage \
  -strip "$out"
note "wrote $out ($((right - left)) x $((bottom - top)))"
session_passed
