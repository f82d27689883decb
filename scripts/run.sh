#!/usr/bin/env bash
# Builds the saver and runs it full screen on $DISPLAY; without a display,
# renders ten seconds of the scene into out/frames/ instead. Uses its own
# build tree (build-release), so it never changes the test tree.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset native-release >/dev/null
cmake --build --preset native-release --target quelmar quelmar-render
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec build-release/src/quelmar /s
fi
out=out/frames
rm -rf "$out"
build-release/src/quelmar-render --frames 600 --fps 60 --width 1280 --height 720 --png "$out" --every 30
echo "No display: rendered 10 s of the scene (every 30th frame of 600) into $PWD/$out/"
