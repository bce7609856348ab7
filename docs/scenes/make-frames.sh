#!/usr/bin/env bash
# Redraws the contact-sheet frames: one moment per scene, a few seconds after
# its fade, from a capture at 2 frames per second, scaled to 320x240.
# Usage: docs/scenes/make-frames.sh BUILD_DIR   (needs ffmpeg and ImageMagick)
set -euo pipefail
build=${1:?usage: make-frames.sh BUILD_DIR}
here=$(cd "$(dirname "$0")" && pwd)
export SDL_VIDEODRIVER=${SDL_VIDEODRIVER:-offscreen}
while read -r scene name seconds; do
  out="$here/scene$scene-$name.png"
  "$build/src/shell/kylvander" --screenshot "$seconds" "$out" --fps 2
  convert "$out" -resize 320x240 -strip "PNG24:$out"
done <<'LIST'
0 arms 22
1 tunnel 34.5
2 knot 132
3 photo-morrik 109
4 photo-telva 123
5 scroller 47.5
6 column 147
7 logo 75.5
LIST
