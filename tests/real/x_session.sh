# What the tests of the real programs share, sourced by each of them: a private
# X server, a scratch copy of the game folder with home folders of its own,
# windows found and driven with xdotool, screenshots checked with ImageMagick,
# and the programs' error output searched for sanitizer reports.
#
# A test calls, in this order: require_x_tools, start_session NAME DIST
# SUPPRESSIONS, pin_gl_driver, start_x_server; at its end session_passed.
# Everything it started is stopped on exit, and its folder is removed when it
# passed (kept, with the screenshots and the programs' output, when it failed
# or when VELTA_KEEP_SESSION is set).

set -euo pipefail

SESSION_PASSED=0
XVFB_PID=

note() {
  echo "[$(date +%T)] $*"
}

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

require_x_tools() {
  if ! command -v Xvfb >/dev/null; then
    echo "SKIP: Xvfb is not installed (scripts/install-deps.sh installs it)"
    exit 77
  fi
  local tool
  for tool in xdotool xwininfo import identify; do
    command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/install-deps.sh installs it)"
  done
}

# stop_job PID: asks a job of this shell to end, forces it after 10 s.
stop_job() {
  local tries
  kill "$1" 2>/dev/null || return 0
  for ((tries = 0; tries < 50; ++tries)); do
    kill -0 "$1" 2>/dev/null || break
    sleep 0.2
  done
  if kill -0 "$1" 2>/dev/null; then kill -9 "$1" 2>/dev/null || true; fi
  wait "$1" 2>/dev/null || true
}

# Stops what the session started and is still running: the programs first
# (a program whose X server goes away first ends through Xlib's exit path),
# then the X server. Only this shell's own unreaped jobs are signalled.
end_session() {
  local pid
  for pid in $(jobs -p); do
    [ "$pid" = "$XVFB_PID" ] || stop_job "$pid"
  done
  [ -z "$XVFB_PID" ] || stop_job "$XVFB_PID"
  if [ "$SESSION_PASSED" = 1 ] && [ -z "${VELTA_KEEP_SESSION:-}" ]; then
    rm -rf "$WORK"
  else
    echo "The session's files (screenshots, output) are kept in $WORK" >&2
  fi
}

# start_session NAME DIST SUPPRESSIONS: a folder of the test's own holding a
# copy of the built game folder DIST (the programs write beside themselves)
# and the home, config, cache and runtime folders, and the sanitizers set so
# that any report fails the test.
start_session() {
  WORK=$(mktemp -d "${TMPDIR:-/tmp}/velta-$1-XXXXXX")
  trap end_session EXIT
  GAME="$WORK/game"
  cp -a "$2" "$GAME"
  # What earlier runs of the copied folder kept (the editor's remembered
  # language among it) is not the session's.
  rm -f "$GAME/config.ini" "$GAME/palfile.dat" "$GAME/stage/__ed.vtg" "$GAME/editor/VeltaEdit.ini"
  export HOME="$WORK/home"
  export XDG_CONFIG_HOME="$HOME/.config" XDG_CACHE_HOME="$HOME/.cache" XDG_DATA_HOME="$HOME/.local/share"
  export XDG_RUNTIME_DIR="$WORK/runtime"
  # The editor's single-instance socket lives in the temporary folder.
  export TMPDIR="$WORK/tmp"
  mkdir -p "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR" "$TMPDIR"
  chmod 700 "$XDG_RUNTIME_DIR"
  export LC_ALL=C.UTF-8
  export SDL_AUDIODRIVER=dummy
  # verify_asan_link_order=0 lets pin_gl_driver preload a library.
  export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:verify_asan_link_order=0"
  export LSAN_OPTIONS="suppressions=$3:print_suppressions=0"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
}

# Mesa's software GL driver is unloaded when the window closes, before the
# leak check runs: what it still held then reads as leaked, by a module
# nobody can name. Loaded from the start, it stays, and what it holds stays
# reachable. Sets PROGRAM_PRELOAD for the programs (not for the tools).
pin_gl_driver() {
  PROGRAM_PRELOAD=
  local driver
  for driver in /usr/lib/x86_64-linux-gnu/dri/swrast_dri.so /usr/lib64/dri/swrast_dri.so \
    /usr/lib/dri/swrast_dri.so; do
    if [ -f "$driver" ]; then
      PROGRAM_PRELOAD=$driver
      return
    fi
  done
}

# A server on a display it picks itself (-displayfd), so tests running side
# by side never race for a display number.
start_x_server() {
  local numberFile="$WORK/display-number"
  : >"$numberFile"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$numberFile" \
    >"$WORK/xvfb.log" 2>&1 &
  XVFB_PID=$!
  local tries
  for ((tries = 0; tries < 300; ++tries)); do
    if [ -s "$numberFile" ] && grep -q '^[0-9][0-9]*$' "$numberFile"; then
      export DISPLAY=":$(head -n1 "$numberFile")"
      note "X server on $DISPLAY"
      return
    fi
    kill -0 "$XVFB_PID" 2>/dev/null || {
      cat "$WORK/xvfb.log" >&2
      fail "Xvfb ended at start"
    }
    sleep 0.1
  done
  fail "Xvfb did not start within 30 s"
}

# run_in_background LOG COMMAND...: starts a program (LOG.out, LOG.err); its
# pid in LAST_PID.
run_in_background() {
  local log=$1
  shift
  env LD_PRELOAD="$PROGRAM_PRELOAD" "$@" >"$log.out" 2>"$log.err" &
  LAST_PID=$!
}

# wait_for_window NAME_REGEX PID SECONDS: the id of the first visible window
# whose name matches, while the program PID runs.
wait_for_window() {
  local regex=$1 pid=$2 limit=$3 id tries
  for ((tries = 0; tries < limit * 5; ++tries)); do
    id=$(xdotool search --onlyvisible --name "$regex" 2>/dev/null | head -n1 || true)
    if [ -n "$id" ]; then
      echo "$id"
      return
    fi
    kill -0 "$pid" 2>/dev/null || fail "the program ended before a window \"$regex\" appeared"
    sleep 0.2
  done
  fail "no window \"$regex\" within $limit s"
}

# start_editor: runs the scratch game folder's editor from $WORK (it finds
# the game one folder above itself) and waits until its main window and the
# object selector are shown and the selector is placed beside the main
# window. Sets EDITOR_PID, MAIN_WINDOW and SELECTOR_WINDOW.
start_editor() {
  cd "$WORK"
  run_in_background "$WORK/veltaedit" "$GAME/editor/VeltaEdit"
  EDITOR_PID=$LAST_PID
  MAIN_WINDOW=$(wait_for_window '^VeltaEdit for Tarvelon - Untitled$' "$EDITOR_PID" 120)
  SELECTOR_WINDOW=$(wait_for_window '^ｵﾌﾞｼﾞｪｸﾄ$' "$EDITOR_PID" 30)
  wait_for_placed_window "$SELECTOR_WINDOW"
}

# The number of visible windows of a program (menus open as windows of their own).
visible_windows() {
  { xdotool search --onlyvisible --pid "$1" 2>/dev/null || true; } | wc -l
}

more_windows_than() {
  (($(visible_windows "$1") > $2))
}

# open_menu WINDOW PID KEYS: opens a menu of the program's window from the
# keyboard and waits until it shows.
open_menu() {
  local before
  before=$(visible_windows "$2")
  focus_window "$1"
  xdotool key "$3"
  wait_until 20 more_windows_than "$2" "$before" || fail "no menu opened with $3"
}

geometry_of() {
  xdotool getwindowgeometry "$1" 2>/dev/null | tail -n +2
}

# wait_for_placed_window WINDOW: waits until the window stops moving.
wait_for_placed_window() {
  local previous= current tries
  for ((tries = 0; tries < 100; ++tries)); do
    current=$(geometry_of "$1")
    [ -n "$current" ] && [ "$current" = "$previous" ] && return
    previous=$current
    sleep 0.3
  done
  fail "window $1 does not stay in place"
}

window_exists() {
  xwininfo -id "$1" >/dev/null 2>&1
}

window_gone() {
  ! window_exists "$1"
}

# wait_until SECONDS COMMAND...: polls until the command succeeds; fails
# (returns non-zero) when the time runs out first.
wait_until() {
  local limit=$1 tries
  shift
  for ((tries = 0; tries < limit * 5; ++tries)); do
    if "$@"; then return 0; fi
    sleep 0.2
  done
  "$@"
}

# wait_for_exit PID SECONDS: sets EXIT_STATUS once the program has ended.
# (Not in a subshell: only this shell can wait for its child.)
wait_for_exit() {
  local pid=$1 limit=$2 tries
  for ((tries = 0; tries < limit * 5; ++tries)); do
    if ! kill -0 "$pid" 2>/dev/null; then
      EXIT_STATUS=0
      wait "$pid" || EXIT_STATUS=$?
      return
    fi
    sleep 0.2
  done
  fail "the program did not end within $limit s"
}

# Keyboard input goes through XTEST to the window that has the focus, as
# typed keys do; without a window manager the focus is given by hand.
focus_window() {
  timeout 10 xdotool windowfocus --sync "$1" || fail "window $1 did not take the focus"
}

# hold_key WINDOW KEY MILLISECONDS: long enough for the game to see it in a frame.
hold_key() {
  focus_window "$1"
  xdotool keydown "$2"
  sleep "$(awk "BEGIN { print $3 / 1000 }")"
  xdotool keyup "$2"
}

# screenshot WINDOW NAME: saves what the window shows as NAME.png and sets
# SHOT_COLOURS (the number of distinct colours) and SHOT_SIGNATURE (a hash of
# the pixels alone, without the file's time stamps).
screenshot() {
  local file="$WORK/$2.png" info
  import -window "$1" "$file" || fail "no screenshot of window $1"
  info=$(identify -format '%k %#' "$file")
  SHOT_COLOURS=${info%% *}
  SHOT_SIGNATURE=${info#* }
}

# pixel NAME X Y: the colour at (X, Y) of screenshot NAME, as srgb(R,G,B).
pixel() {
  identify -format "%[pixel:p{$2,$3}]" "$WORK/$1.png"
}

# wait_for_still_picture WINDOW NAME MIN_COLOURS SECONDS [NOT_SIGNATURE]:
# waits until two screenshots in a row are the same, show at least
# MIN_COLOURS colours and differ from NOT_SIGNATURE; NAME.png is the last.
wait_for_still_picture() {
  local window=$1 name=$2 minimum=$3 limit=$4 avoid=${5:-} previous= tries
  for ((tries = 0; tries < limit * 4; ++tries)); do
    screenshot "$window" "$name"
    if [ "$SHOT_SIGNATURE" = "$previous" ] && ((SHOT_COLOURS >= minimum)) &&
      [ "$SHOT_SIGNATURE" != "$avoid" ]; then
      return
    fi
    previous=$SHOT_SIGNATURE
    sleep 0.25
  done
  fail "the screen did not settle on a picture of $minimum colours or more within $limit s (last: $SHOT_COLOURS colours, $WORK/$name.png)"
}

# picture_has_colours WINDOW NAME MIN_COLOURS: a new screenshot shows at least
# that many colours.
picture_has_colours() {
  screenshot "$1" "$2"
  ((SHOT_COLOURS >= $3))
}

# picture_is_plain WINDOW NAME MAX_COLOURS: a new screenshot shows at most
# that many colours.
picture_is_plain() {
  screenshot "$1" "$2"
  ((SHOT_COLOURS <= $3))
}

# picture_differs WINDOW NAME SIGNATURE: a new screenshot differs from one before.
picture_differs() {
  screenshot "$1" "$2"
  [ "$SHOT_SIGNATURE" != "$3" ]
}

# require_drawn NAME MIN_COLOURS: the last screenshot shows a real picture.
require_drawn() {
  ((SHOT_COLOURS >= $2)) || fail "$1 shows only $SHOT_COLOURS colours ($WORK/$1.png)"
  note "$1: $SHOT_COLOURS colours"
}

# require_no_sanitizer_report FILE...: the programs' error output holds no
# report of AddressSanitizer, LeakSanitizer or UndefinedBehaviorSanitizer.
require_no_sanitizer_report() {
  local file
  for file in "$@"; do
    if grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:|SUMMARY: [A-Za-z]+Sanitizer' "$file"; then
      cat "$file" >&2
      fail "a sanitizer report in $file"
    fi
  done
}

session_passed() {
  SESSION_PASSED=1
  note "passed"
}
