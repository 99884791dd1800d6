#!/usr/bin/env bash
# A long session of the main game under AddressSanitizer, LeakSanitizer and
# UndefinedBehaviorSanitizer: velta-long-run plays it round after round on
# the headless backend (title, a new game, every life lost, the continue,
# every stage by its replay, the ending, the staff roll, the ranking) for at
# least 100,000 frames, prints the resident memory and the heap in use every
# 10,000 frames, and fails when either grows after the first round, or when
# LeakSanitizer finds a leak at the end.
#
#     scripts/long-run.sh [velta-long-run options]
#
# Builds in build-test (BUILD_DIR to choose another folder). The options
# (--frames, --sample-every, --max-heap-growth, --max-resident-growth) are
# passed on.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build-test}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELTA_SANITIZE=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target velta-long-run
# The sanitizer's quarantine of freed memory, 256 MB by default, would show as
# resident growth until full; at 1 MB recent frees are still checked.
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:quarantine_size_mb=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
start=$(date +%s)
status=0
"$build/tests/velta-long-run" "$@" || status=$?
echo "long run: $(($(date +%s) - start)) s, exit status $status"
exit "$status"
