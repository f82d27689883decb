#!/usr/bin/env bash
# Builds the saver and runs it full screen on $DISPLAY; without a display,
# renders ten seconds of the scene into out/frames/ instead.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUELMAR_TESTS=OFF -DQUELMAR_BENCH=OFF >/dev/null
cmake --build build --target quelmar quelmar-render
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec build/src/quelmar /s
fi
out=out/frames
rm -rf "$out"
build/src/quelmar-render --frames 600 --fps 60 --width 1280 --height 720 --png "$out" --every 30
echo "No display: rendered 10 s of the scene (every 30th frame of 600) into $PWD/$out/"
