#!/usr/bin/env bash
# Sets up a fresh machine, builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELTA_SANITIZE=ON -DVELTA_WERROR=ON
cmake --build build-test -j"$(nproc)"
cd build-test
ctest --output-on-failure -j"$(nproc)"

# The fuzz targets as libFuzzer programs (clang), each run once over its kept
# corpus: no random fuzzing here, so the outcome is the same every time.
# Campaigns are scripts/fuzz.sh's.
cd ..
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVELTA_FUZZ=ON -DVELTA_TESTS=OFF -DVELTA_BENCH=OFF
cmake --build build-fuzz -j"$(nproc)" --target fuzz_targets
mkdir -p build-fuzz/artifacts
failed=()
for corpus in fuzz/corpus/*/; do
  target=$(basename "$corpus")
  echo "fuzz_$target: $(find "$corpus" -type f | wc -l) inputs"
  build-fuzz/fuzz/"fuzz_$target" -runs=0 -timeout=20 -rss_limit_mb=2048 \
    -artifact_prefix=build-fuzz/artifacts/ "$corpus" || failed+=("$target")
done
if ((${#failed[@]})); then
  echo "fuzz targets that fail on their corpus: ${failed[*]}" >&2
  exit 1
fi
