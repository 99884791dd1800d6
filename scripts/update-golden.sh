#!/usr/bin/env bash
# Writes the golden frames of the front-end scenes anew from the current code,
# into tests/shell/golden/. Use it only after a reviewed change to what the
# scenes draw, then look at every picture it wrote before committing them.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-test}
cmake --build "$build" -j"$(nproc)" --target test_shell
VELTA_UPDATE_GOLDEN=1 "$build/tests/test_shell" --gtest_filter='FrontEnd/GoldenFrame.*'
git status --short tests/shell/golden/
