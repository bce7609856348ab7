#!/usr/bin/env bash
# Makes docs/pictures.png, a contact sheet of the show's 21 pictures as the
# build writes them (target kyl_pictures). Pictures with a shape in alpha
# are shown over a checkerboard. Needs ffmpeg and ImageMagick.
#
#   scripts/contact-sheet-pictures.sh [BUILD_DIR]    (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" --target kyl_pictures
data="$build/data"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# In the order the show uses them; the shaped ones (alpha-blended) marked.
pictures="part01_bg part01_overlay:a pulkar:a bg02 dransel:a
          morrik01 morrik02 morrik03 morrik04 logo_morrik:a
          telva01 telva02 telva03 telva04 logo_telva:a
          scroller scroll_over part02_bg part02_overlay:a bg01 logga2:a"
tiles=()
for entry in $pictures; do
  name=${entry%%:*}
  # ffmpeg honours the TGA's bottom-up origin (ImageMagick 6 does not).
  ffmpeg -v error -y -i "$data/$name.tga" "$tmp/$name-raw.png"
  size=$(identify -format '%wx%h' "$tmp/$name-raw.png")
  if [ "$entry" != "$name" ]; then
    convert -size "$size" pattern:checkerboard -modulate 45 \
      "$tmp/$name-raw.png" -compose over -composite "$tmp/$name.png"
  else
    cp "$tmp/$name-raw.png" "$tmp/$name.png"
  fi
  tiles+=(-label "$name.tga" "$tmp/$name.png")
done
montage "${tiles[@]}" -tile 7x3 -geometry 200x200+8+8 \
  -background '#10141c' -fill '#c8d4e0' -font DejaVu-Sans -pointsize 13 \
  -title 'Kylvander: the 21 pictures (kyl_picgen)' "$tmp/sheet.png"
mkdir -p docs
# 256 colours, dithered: a quarter of the size, no visible loss at this scale.
convert "$tmp/sheet.png" -strip -dither FloydSteinberg -colors 256 docs/pictures.png
echo "wrote docs/pictures.png"
