#!/usr/bin/env bash
# The real game in a real X window, played as a user plays it: the loading
# screen and the logo, the title, GAME START, a few seconds of play, Escape and
# OK back to the title, then the window's close button. It must end with
# status 0, draw real pictures, and leave no sanitizer report.
#
#     game_session_test.sh DIST CLOSE_REQUEST SUPPRESSIONS
#
# DIST is the built game folder (copied, never written), CLOSE_REQUEST the
# velta-close-request helper, SUPPRESSIONS the LeakSanitizer suppressions.
set -euo pipefail
source "$(dirname "$0")/x_session.sh"

dist=$(realpath "$1")
closeRequest=$(realpath "$2")
suppressions=$(realpath "$3")
require_x_tools
start_session game "$dist" "$suppressions"
pin_gl_driver
start_x_server

# The pictures of the title and of play hold many colours; the loading
# screen and the logo only a few.
readonly PICTURE_COLOURS=24
readonly PICTURE_WIDTH=288 PICTURE_HEIGHT=256

cd "$GAME"
run_in_background "$WORK/velta" ./velta
game=$LAST_PID
window=$(wait_for_window '^CODE:VELTA$' "$game" 120)
note "game window $window"

# Loading, boot and logo take some seconds; nothing skips them.
wait_for_still_picture "$window" title "$PICTURE_COLOURS" 120
title=$SHOT_SIGNATURE
require_drawn title "$PICTURE_COLOURS"
eval "$(xdotool getwindowgeometry --shell "$window")"
# The window shows the picture alone at a whole scale, without a border.
scale=$((WIDTH / PICTURE_WIDTH))
((scale >= 1 && WIDTH == PICTURE_WIDTH * scale && HEIGHT == PICTURE_HEIGHT * scale)) ||
  fail "the window's ${WIDTH}x$HEIGHT is not the picture at a whole scale"

note "GAME START"
hold_key "$window" z 200
wait_until 30 picture_differs "$window" stage-start "$title" || fail "GAME START left the title showing"
wait_until 30 picture_has_colours "$window" stage-start "$PICTURE_COLOURS" ||
  fail "no stage after GAME START ($WORK/stage-start.png)"
sleep 2 # the rest of the fade-in and the player's entry, in which keys do nothing

note "playing"
focus_window "$window"
xdotool keydown Right
sleep 1
xdotool keydown x
sleep 0.3
xdotool keyup x
sleep 0.5
xdotool keydown z
sleep 0.15
xdotool keyup z
sleep 0.5
xdotool keyup Right
hold_key "$window" Left 400
screenshot "$window" play
[ "$SHOT_SIGNATURE" != "$title" ] || fail "the title is still showing after GAME START"
require_drawn play "$PICTURE_COLOURS"

note "Escape"
focus_window "$window"
xdotool key Escape
# The dialog: a black box with a red frame from (64, 96) to (224, 160); the
# game stands still behind it.
wait_for_still_picture "$window" confirmation 3 30
for point in "70 100" "218 154" "140 118"; do
  set -- $point
  [ "$(pixel confirmation $(($1 * scale)) $(($2 * scale)))" = "srgb(0,0,0)" ] ||
    fail "no dialog box at ($1, $2) after Escape ($WORK/confirmation.png)"
done
[ "$(pixel confirmation $((64 * scale)) $((128 * scale)))" = "srgb(255,0,0)" ] ||
  fail "no red frame round the dialog ($WORK/confirmation.png)"

note "OK"
hold_key "$window" z 200
wait_for_still_picture "$window" title-again "$PICTURE_COLOURS" 60
[ "$SHOT_SIGNATURE" = "$title" ] || fail "OK did not lead back to the title ($WORK/title-again.png)"

note "close request"
"$closeRequest" "$window"
wait_for_exit "$game" 60
[ "$EXIT_STATUS" = 0 ] || {
  cat "$WORK/velta.err" >&2
  fail "the game ended with status $EXIT_STATUS"
}
window_gone "$window" || fail "the game window is still there"
require_no_sanitizer_report "$WORK/velta.err"
session_passed
