#!/usr/bin/env bash
# The Debian package as a user gets it: made with cpack from this build,
# unpacked into a scratch root (dpkg-deb -x, nothing installed on the
# machine), its files where an install puts them, its menu entries and
# software-centre file valid, the installed velta-replay playing a shipped
# stage from its replay, and the installed game started without a display far
# enough to read its data, its settings from a scratch XDG_CONFIG_HOME and
# write there, and to build its palette tables into a scratch XDG_CACHE_HOME,
# leaving the install as it was.
#
#     package_test.sh BUILD_DIR SOURCE_DIR CPACK
set -euo pipefail

build=$(realpath "$1")
source=$(realpath "$2")
cpack=$3

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
note() {
  echo "[$(date +%T)] $*"
}

for tool in dpkg-deb dpkg-shlibdeps; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed: no Debian package can be made here"
    exit 77
  fi
done
for tool in desktop-file-validate appstreamcli; do
  command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/install-deps.sh installs it)"
done

work=$(mktemp -d "${TMPDIR:-/tmp}/velta-package-XXXXXX")
game_pid=
cleanup() {
  if [ -n "$game_pid" ]; then kill "$game_pid" 2>/dev/null || true; fi
  if [ "${PASSED:-0}" = 1 ] && [ -z "${VELTA_KEEP_SESSION:-}" ]; then
    rm -rf "$work"
  else
    echo "The test's files are kept in $work" >&2
  fi
}
trap cleanup EXIT

note "cpack"
"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 ||
  {
    cat "$work/cpack.log" >&2
    fail "cpack did not make the package"
  }
debs=("$work"/package/velta_*_amd64.deb)
[ ${#debs[@]} = 1 ] && [ -f "${debs[0]}" ] || fail "no velta_<version>_amd64.deb in $work/package"
deb=${debs[0]}

depends=$(dpkg-deb -f "$deb" Depends)
note "Depends: $depends"
for needed in libsdl2-2.0-0 libsdl2-mixer libsdl2-ttf libfluidsynth libqt6widgets6 libpng16 \
  fonts-ipafont-mincho fonts-ipafont-gothic fonts-liberation2 xfonts-efont-unicode timgm6mb-soundfont; do
  [[ "$depends" == *"$needed"* ]] || fail "the package does not depend on $needed"
done

root=$work/root
dpkg-deb -x "$deb" "$root"
programs=$root/usr/games
data=$root/usr/share/games/velta
for file in "$programs/velta" "$programs/VeltaEdit" "$programs/velta-replay" "$data/pal.bmp" \
  "$data/icon.bmp" "$data/velta.html" "$data/stage/def.vtg" "$data/dat/e00.dat" \
  "$data/editor/exp.dat" "$data/editor/icon.bmp" "$data/editor/VeltaEdit_en.qm" \
  "$root/usr/share/applications/velta.desktop" "$root/usr/share/applications/VeltaEdit.desktop"; do
  [ -f "$file" ] || fail "the package has no ${file#"$root"}"
done
[ -n "$(ls "$data"/se/*.wav)" ] && [ -n "$(ls "$data"/bgm/*.mid)" ] || fail "sounds or music missing"
for size in 16 32 48 64 128 256; do
  for icon in velta veltaedit; do
    picture=$root/usr/share/icons/hicolor/${size}x$size/apps/$icon.png
    [ -f "$picture" ] || fail "no ${picture#"$root"}"
  done
done
# What the programs write at run time is no file of the package.
if dpkg-deb -c "$deb" | grep -E 'config\.ini|palfile\.dat|__ed\.vtg'; then
  fail "the package holds files the programs write"
fi

note "desktop entries and metainfo"
for entry in velta VeltaEdit; do
  desktop-file-validate "$root/usr/share/applications/$entry.desktop" ||
    fail "$entry.desktop is not valid"
  grep -qx "Exec=/usr/games/$entry" "$root/usr/share/applications/$entry.desktop" ||
    fail "$entry.desktop does not start /usr/games/$entry"
done
metainfo=("$root"/usr/share/metainfo/*.metainfo.xml)
[ -f "${metainfo[0]}" ] || fail "no metainfo file"
appstreamcli validate --no-net "${metainfo[0]}" || fail "the metainfo file is not valid"

# Everything the programs are started with below lives in the scratch folder.
export HOME=$work/home
export XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache XDG_DATA_HOME=$work/data
export XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$work/elsewhere"
chmod 700 "$XDG_RUNTIME_DIR"
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
# The leaks of a sanitizer build are the real sessions' concern; here the
# subject is where the files are.
export ASAN_OPTIONS=detect_leaks=0:halt_on_error=1
before=$(cd "$root" && find . | sort)

note "the installed velta-replay"
cd "$work/elsewhere"
"$programs/velta-replay" --expect-clear def.vtg 0 "$source/tests/replay/stages/def/00.txt" \
  >"$work/replay.txt" 2>&1 || {
  cat "$work/replay.txt" >&2
  fail "the installed velta-replay did not clear def.vtg stage 0"
}
grep -q "stage cleared" "$work/replay.txt" || fail "velta-replay printed no outcome"

note "the installed game"
# A ranking line whose code does not match its score: the game blanks it in
# the player's config.ini when it loads the ranking at boot.
mkdir -p "$XDG_CONFIG_HOME/velta"
printf '[RANKING]\r\n0=123456 FUIQHA\r\n1=123456 FUIQHU\r\n' >"$XDG_CONFIG_HOME/velta/config.ini"
"$programs/velta" >"$work/game.txt" 2>&1 &
game_pid=$!
blanked=0
for ((tries = 0; tries < 300; ++tries)); do
  if tr -d '\r' <"$XDG_CONFIG_HOME/velta/config.ini" | grep -qx '0='; then
    blanked=1
    break
  fi
  kill -0 "$game_pid" 2>/dev/null || break
  sleep 0.1
done
# SDL turns SIGTERM into a quit request: the game closes as from its window.
kill -TERM "$game_pid" 2>/dev/null || true
status=0
wait "$game_pid" || status=$?
game_pid=
cat "$work/game.txt"
((blanked)) || fail "the game did not read and write \$XDG_CONFIG_HOME/velta/config.ini"
[ "$status" = 0 ] || fail "the game ended with status $status"
grep -q '^1=123456 FUIQHU' "$XDG_CONFIG_HOME/velta/config.ini" || fail "config.ini lost a valid entry"
[ "$(stat -c %s "$XDG_CACHE_HOME/velta/palfile.dat")" = 39552 ] ||
  fail "no palette tables in \$XDG_CACHE_HOME/velta/palfile.dat"
[ "$(cd "$root" && find . | sort)" = "$before" ] || fail "the programs wrote into the install"

PASSED=1
note "passed"
