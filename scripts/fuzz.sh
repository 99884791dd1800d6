#!/usr/bin/env bash
# Long fuzzing campaigns with the libFuzzer targets of fuzz/ (built with clang
# in build-fuzz), one target at a time.
#
#   scripts/fuzz.sh TARGET [SECONDS [FLAG...]]
#                                          fuzz TARGET (default: one hour); any
#                                          further libFuzzer flags go along, e.g.
#                                          -fork=1 -ignore_crashes=1 to go on
#                                          past a crash not fixed yet
#   scripts/fuzz.sh --minimize TARGET FILE NAME
#                                          shrink a crashing input into
#                                          fuzz/corpus/TARGET/regress-NAME
#   scripts/fuzz.sh --merge TARGET         the kept corpus and the campaign's
#                                          finds, minimised into a fresh folder
#   scripts/fuzz.sh --list                 the targets
#
# A campaign starts from fuzz/corpus/TARGET and grows a scratch corpus of its
# own outside the tree, $VELTA_FUZZ_WORK/TARGET/corpus (VELTA_FUZZ_WORK
# defaults to /tmp/velta-fuzz), which later campaigns go on from. Crashes,
# timeouts and inputs that take too much memory go to
# $VELTA_FUZZ_WORK/TARGET/artifacts.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build-fuzz
work_root=${VELTA_FUZZ_WORK:-/tmp/velta-fuzz}
# The same limits for every run: one input may take 10 seconds and 2 GB.
limits=(-timeout=10 -rss_limit_mb=2048)

usage() {
  # The heading comment of this file.
  awk 'NR > 1 && !/^#/ { exit } NR > 1 { sub(/^# ?/, ""); print }' "$0" >&2
  exit 2
}

targets() {
  for corpus in fuzz/corpus/*/; do basename "$corpus"; done
}

check_target() {
  if [ -z "${1:-}" ] || [ ! -d "fuzz/corpus/$1" ]; then
    echo "fuzz: unknown target '${1:-}'; the targets are:" >&2
    targets | sed 's/^/  /' >&2
    exit 2
  fi
}

build_target() {
  scripts/install-deps.sh
  CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVELTA_FUZZ=ON -DVELTA_TESTS=OFF -DVELTA_BENCH=OFF >/dev/null
  cmake --build "$build" -j2 --target "fuzz_$1"
}

# The machine has two cores: a second campaign would halve both.
take_lock() {
  mkdir -p "$work_root"
  exec 9>"$work_root/.lock"
  if ! flock -n 9; then
    echo "fuzz: another campaign is running (lock $work_root/.lock)" >&2
    exit 1
  fi
}

campaign() {
  local target=$1 seconds=$2
  shift 2
  local work=$work_root/$target
  build_target "$target"
  take_lock
  mkdir -p "$work/corpus" "$work/artifacts"
  echo "fuzz: $target for $seconds s; corpus $work/corpus, artifacts $work/artifacts"
  local status=0
  # The first folder is the one that grows; the kept corpus is only read.
  # -close_fd_mask=3 silences the programs' own messages (a crash report
  # still shows).
  "$build/fuzz/fuzz_$target" "$work/corpus" "fuzz/corpus/$target" \
    -max_total_time="$seconds" "${limits[@]}" -close_fd_mask=3 -print_final_stats=1 \
    -artifact_prefix="$work/artifacts/" "$@" || status=$?
  local found
  found=$(find "$work/artifacts" -type f | wc -l)
  cat <<EOF

fuzz: $target ended (status $status); $found file(s) in $work/artifacts.
Reproduce one:   $build/fuzz/fuzz_$target ARTIFACT
Keep a crash as a regression input (after its fix, it must run clean):
                 scripts/fuzz.sh --minimize $target ARTIFACT what-it-breaks
Fold the new coverage into the kept corpus:
                 scripts/fuzz.sh --merge $target
EOF
  return "$status"
}

minimize() {
  local target=$1 crash=$2 name=$3
  build_target "$target"
  local kept=fuzz/corpus/$target/regress-$name
  local steps
  steps=$(mktemp -d)
  # Each smaller input that still fails is written as minimized-from-*.
  "$build/fuzz/fuzz_$target" -minimize_crash=1 -runs=20000 -max_total_time=300 "${limits[@]}" \
    -artifact_prefix="$steps/" "$crash" || true
  local smallest
  smallest=$(find "$steps" -name 'minimized-from-*' -printf '%s %p\n' | sort -n | head -1 |
    cut -d' ' -f2-)
  # An input that only times out or runs out of memory is kept as it is.
  cp "${smallest:-$crash}" "$kept"
  rm -rf "$steps"
  echo "fuzz: kept $kept ($(stat -c %s "$kept") bytes)"
}

merge() {
  local target=$1
  local work=$work_root/$target
  build_target "$target"
  take_lock
  local fresh=$work/merged
  rm -rf "$fresh"
  mkdir -p "$fresh" "$work/corpus"
  "$build/fuzz/fuzz_$target" -merge=1 "${limits[@]}" "$fresh" "fuzz/corpus/$target" \
    "$work/corpus"
  cat <<EOF

fuzz: $fresh holds $(find "$fresh" -type f | wc -l) inputs covering the kept corpus and the
campaign's finds. Keep fuzz/corpus/$target small: copy in a few of the new, small inputs
that reach what the kept ones do not, never remove a regress-* input, and check with
  $build/fuzz/fuzz_$target -runs=0 fuzz/corpus/$target
EOF
}

case "${1:-}" in
--list) targets ;;
--minimize)
  [ $# -eq 4 ] || usage
  check_target "$2"
  minimize "$2" "$3" "$4"
  ;;
--merge)
  [ $# -eq 2 ] || usage
  check_target "$2"
  merge "$2"
  ;;
"" | -*) usage ;;
*)
  check_target "$1"
  target=$1
  seconds=${2:-3600}
  shift $(($# < 2 ? $# : 2))
  campaign "$target" "$seconds" "$@"
  ;;
esac
