#!/usr/bin/env bash
# Writes every golden anew from the current build: the GL frames and the
# renderer's trace. Look at what changed (git diff --stat tests/gl/golden
# tests/e2e/render/golden) before committing it.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build"
mkdir -p tests/e2e/render/golden
QUELMAR_UPDATE_GOLDENS=1 ctest --test-dir "$build" -L gl --output-on-failure
QUELMAR_UPDATE_GOLDENS=1 ctest --test-dir "$build" -R '^render_golden_trace$' --output-on-failure
