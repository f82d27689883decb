#!/usr/bin/env bash
# Renders the ship with quelmar-render for the title picture and the icon,
# into assets/source/ (committed; bitmapgen reads them). The ship rests at
# the origin for the first 20 s; the frames are taken at 19 s, when the
# energy panel has slid away. The title render has 16 extra rows on top,
# which bitmapgen cuts off with the caption strip.
#   tools/bitmapgen/render-ship.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
cmake --build "$build" --target quelmar-render
render="$build/src/quelmar-render"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

settings() {
  printf '[Quelmar 3D ScreenSaver]\nBG Stars=%s\nWarp Lines=100\nTexture Detail=2\n' "$1" >"$work/$2.ini"
}
settings 600 title
settings 100 icon

shot() {  # name width height eye look
  "$render" --start-seconds 1000000 --fps 10 --frames 191 --at 190 --width "$2" --height "$3" \
    --settings "$work/$1.ini" --eye "$4" --look "$5" --png "$work/$1"
  cp "$work/$1/frame-000190.png" "assets/source/ship-$1.png"
}
mkdir -p assets/source
shot title 884 760 "22,8,20" "-1,3.2,0"
shot icon 512 512 "-15,45,15" "1,0,0"
ls -l assets/source
