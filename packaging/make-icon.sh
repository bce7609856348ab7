#!/bin/sh
# make-icon.sh DATA_ROOT OUT_DIR SIZE...
# The program's icon, cut from the show's own pictures: the emblem of the
# title plate (part01_overlay.tga) on the opening nebula (part01_bg.tga), in a
# rounded square. Writes OUT_DIR/SIZExSIZE/kylvander.png for each SIZE.
set -eu
data=$1
out=$2
shift 2

# The emblem is drawn stretched for its quad on the screen (108 x 120 texels
# show as a circle): cut it with a margin, above the lettering, and scale it
# back to a square.
emblem_crop=118x131+33+234
master=$out/kylvander-256.png
mkdir -p "$out"
# No time stamps in the files, so that two builds give the same bytes.
png_opts="-strip -define png:exclude-chunks=date,time"

convert "$data/part01_bg.tga" -auto-orient -resize 256x256 \
  \( "$data/part01_overlay.tga" -auto-orient -crop "$emblem_crop" +repage -resize '204x204!' \) \
  -gravity center -composite \
  \( -size 256x256 xc:none -fill white -draw 'roundrectangle 8,8 247,247 40,40' \) \
  -compose DstIn -composite $png_opts "PNG32:$master"

for size in "$@"; do
  mkdir -p "$out/${size}x$size"
  convert "$master" -resize "${size}x$size" $png_opts "PNG32:$out/${size}x$size/kylvander.png"
done
rm -f "$master"
