#!/usr/bin/env bash
# Writes every golden frame anew from the current build. Look at the changed
# PNGs (git diff --stat tests/gl/golden) before committing them.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build"
QUELMAR_UPDATE_GOLDENS=1 ctest --test-dir "$build" -L gl --output-on-failure
