#!/usr/bin/env bash
# The real stage editor in real X windows, used as a user uses it: an object
# chosen in the object selector and placed on the canvas, File > Save As into
# the stage folder, the saved file read back, a test play of the stage in the
# real game closed with the window's close button, and the editor closed the
# same way. The editor must end with status 0, neither program may report to
# the sanitizers (the game writes to the editor's error output), and the test
# play's scratch file must be gone.
#
#     editor_session_test.sh DIST CLOSE_REQUEST SUPPRESSIONS
#
# DIST is the built game folder (copied, never written), CLOSE_REQUEST the
# velta-close-request helper, SUPPRESSIONS the LeakSanitizer suppressions.
set -euo pipefail
source "$(dirname "$0")/x_session.sh"

dist=$(realpath "$1")
closeRequest=$(realpath "$2")
suppressions=$(realpath "$3")
require_x_tools
start_session editor "$dist" "$suppressions"
pin_gl_driver
start_x_server
export QT_QPA_PLATFORM=xcb

# The main window below its menu bar: the 288 by 256 canvas at (8, 8), then
# a row of controls and the status line. A new stage is a day stage: the
# canvas shows the game's sky.
readonly CANVAS_LEFT=8 CANVAS_TOP=8 SKY='srgb(120,184,240)'

readonly CELL=16
# The object kind chosen in the selector's palette (column 1, row 0) and the
# canvas cell it is placed in.
readonly KIND=1 CELL_X=6 CELL_Y=6
saved="$GAME/stage/placed.vtg"
scratch="$GAME/stage/__ed.vtg"

# Started from elsewhere: the editor finds the game one folder above itself.
start_editor
editor=$EDITOR_PID main=$MAIN_WINDOW selector=$SELECTOR_WINDOW
note "main window $main, object selector $selector"
screenshot "$main" editor
require_drawn editor 16

note "choosing object kind $KIND"
xdotool mousemove --window "$selector" $((8 + KIND * CELL + CELL / 2)) $((48 + CELL / 2)) click 1
sleep 0.5

# The menu bar's height: where the sky begins, less the canvas's top.
menuBar=
for ((y = 0; y < 120; ++y)); do
  if [ "$(pixel editor $((CANVAS_LEFT + 100)) "$y")" = "$SKY" ]; then
    menuBar=$((y - CANVAS_TOP))
    break
  fi
done
[ -n "$menuBar" ] || fail "no sky on the canvas of the new stage"
((menuBar >= 10 && menuBar <= 80)) || fail "unexpected menu bar height $menuBar"
note "placing it at cell ($CELL_X, $CELL_Y)"
xdotool mousemove --window "$main" $((CANVAS_LEFT + CELL_X * CELL + CELL / 2)) \
  $((menuBar + CANVAS_TOP + CELL_Y * CELL + CELL / 2)) click 1
sleep 0.5
screenshot "$main" placed
require_drawn placed 16

note "File > Save As"
open_menu "$main" "$editor" alt+f
xdotool key a
dialog=$(wait_for_window '^名前を付けて保存$' "$editor" 30)
focus_window "$dialog"
# The dialog opens in the game's stage folder with the name field focused.
xdotool type --delay 50 placed.vtg
xdotool key Return
wait_until 20 test -s "$saved" || fail "Save As wrote no $saved"
wait_until 10 window_gone "$dialog" || fail "the save dialog is still open"

# The one stage with the one object: the header's five lines, then the stage.
expected=$(printf '%s\n' stage_begin def.mid 0 $((CELL_X * CELL)) $((CELL_Y * CELL)) "$KIND" -1 -1 'end;')
actual=$(tr -d '\r' <"$saved" | tail -n +6)
[ "$actual" = "$expected" ] || {
  tr -d '\r' <"$saved" >&2
  fail "the saved file does not hold the placed object"
}
note "saved $(wc -c <"$saved") bytes"

note "Stage > Test play"
open_menu "$main" "$editor" alt+s
xdotool key t
game=$(wait_for_window '^CODE:VELTA$' "$editor" 120)
[ -f "$scratch" ] || fail "no $scratch while the test play runs"
# Until the game first draws, its window shows what lay under it; then comes
# the loading screen, white text on black, and then the stage at once.
wait_until 60 picture_is_plain "$game" test-play-loading 2 ||
  fail "the test play shows no loading screen ($WORK/test-play-loading.png)"
wait_until 60 picture_has_colours "$game" test-play 16 ||
  fail "the test play shows no stage ($SHOT_COLOURS colours, $WORK/test-play.png)"
note "test play: $SHOT_COLOURS colours"
focus_window "$game"
xdotool keydown Right
sleep 1
xdotool keydown x
sleep 0.3
xdotool keyup x Right
screenshot "$game" test-play-moved
require_drawn test-play-moved 16

note "closing the game"
"$closeRequest" "$game"
wait_until 60 window_gone "$game" || fail "the game window did not close"
wait_until 20 test ! -e "$scratch" || fail "$scratch is left after the test play"

note "closing the editor"
kill -0 "$editor" 2>/dev/null || fail "the editor ended during the test play"
"$closeRequest" "$main"
for ((tries = 0; tries < 150; ++tries)); do
  kill -0 "$editor" 2>/dev/null || break
  question=$(xdotool search --onlyvisible --name '^確認$' 2>/dev/null | head -n1 || true)
  if [ -n "$question" ]; then
    note "the editor asks whether to save: No"
    focus_window "$question"
    xdotool key n
  fi
  sleep 0.2
done
wait_for_exit "$editor" 30
[ "$EXIT_STATUS" = 0 ] || {
  cat "$WORK/veltaedit.err" >&2
  fail "the editor ended with status $EXIT_STATUS"
}
[ ! -e "$scratch" ] || fail "$scratch is left in the stage folder"
require_no_sanitizer_report "$WORK/veltaedit.err"
session_passed
