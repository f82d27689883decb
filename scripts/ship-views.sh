#!/usr/bin/env bash
# Renders the ship from the front, side, top, below and three-quarters into
# docs/images/ with quelmar-render's fixed camera (the first 20 s of scene
# time keep the ship at the origin). Usage: scripts/ship-views.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" --target quelmar-render
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for view in "front 32,4,0" "side 3,2,34" "top 2,36,0.5" "below 2,-36,-0.5" "three-quarter 24,11,19"; do
  set -- $view
  "$build/src/quelmar-render" --start-seconds 1000000 --frames 1 --width 800 --height 600 \
    --eye "$2" --look -1,0,0 --png "$work/$1" --settings /nonexistent/quelmar-views.ini >/dev/null
  cp "$work/$1/frame-000000.png" "docs/images/ship-$1.png"
done
echo "Wrote docs/images/ship-{front,side,top,below,three-quarter}.png"
