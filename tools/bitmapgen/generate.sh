#!/usr/bin/env bash
# Writes the pictures anew into assets/ from the current sources. Look at
# every changed picture before committing it.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
cmake --build "$build" --target bitmapgen
"$build/tools/bitmapgen/bitmapgen" assets assets
git status --short assets
