#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Draws the window icon (a hamburger) from scratch and writes
#   icon.png      - 32x32, 8-bit palette with transparency (window, Linux, page)
#   icon-N.png    - NxN for N = 16, 24, 48, 256: true colour with alpha
#   icon.ico      - all five: the 32x32 with a 256-colour palette, the rest
#                   32-bit (Windows picks the size it needs)
# next to this script. Needs ImageMagick 6 ("convert") and bc.
#   make-icon.sh --web DIR COLOUR   the page's home-screen icons into DIR:
#     icon-192.png, icon-512.png, and on COLOUR, inside the circle a phone's
#     mask keeps, icon-maskable.png (512) and apple-touch-icon.png (180)
#
# Layers, from the bottom up: bun bottom, cheese with two drips,
# patty, lettuce, domed bun top with a highlight and sesame seeds.
# Coordinates are in pixels of the 32x32 image, scaled for the other sizes;
# the .5 offsets keep 1-pixel outlines on whole pixels.
set -eu
here=$(dirname "$0")
# Canvas and margin (a share of the size each side) for the icons on a colour.
canvas=none
margin=0

# draw SIZE FILE-AND-FORMAT: the design at SIZE pixels. Outlines stay at least
# one pixel wide; below 24 pixels the seeds would be blots and are left out.
draw() {
  size=$1
  shift
  scale=$(echo "$size * (1 - 2 * $margin) / 32" | bc -l)
  offset=$(echo "$size * $margin" | bc -l)
  outline=$(echo "if ($scale < 1) 1 / $scale else 1" | bc -l)
  seed=$outline
  seeds=
  for at in 9,7 15,5 21,7 12,10 18,10; do
    x=${at%,*} y=${at#*,}
    if [ "$size" = 32 ]; then
      seeds="$seeds rectangle $x,$y $((x + 1)),$y"
    elif [ "$size" -ge 24 ]; then
      seeds="$seeds rectangle $x,$y $(echo "$x + 2; $y + $seed" | bc -l | paste -sd,)"
    fi
  done
  convert -size "${size}x$size" "xc:$canvas" \
    -affine "$scale,0,0,$scale,$offset,$offset" -strokewidth "$outline" \
    -fill '#e9a441' -stroke '#5b3410' \
    -draw 'roundrectangle 3.5,23.5 28.5,28.5 3,3' \
    -fill '#ffd22e' -stroke '#c78f00' \
    -draw 'polygon 3.5,20.5 28.5,20.5 28.5,23.5 24.5,23.5 22.5,26.5 20.5,23.5
                   11.5,23.5 9.5,26.5 7.5,23.5 3.5,23.5' \
    -fill '#6b3a1e' -stroke '#3d1f0c' \
    -draw 'roundrectangle 3.5,16.5 28.5,21.5 2,2' \
    -fill '#4caf3a' -stroke '#256b1c' \
    -draw 'polygon 2.5,13.5 29.5,13.5 29.5,15.5 27.5,17.5 25.5,15.5 23.5,17.5
                   21.5,15.5 19.5,17.5 17.5,15.5 15.5,17.5 13.5,15.5 11.5,17.5
                   9.5,15.5 7.5,17.5 5.5,15.5 3.5,17.5 2.5,15.5' \
    -fill '#e9a441' -stroke '#5b3410' \
    -draw 'path "M 3.5,14.5 L 3.5,12 C 3.5,4 9,3.5 16,3.5
                 C 23,3.5 28.5,4 28.5,12 L 28.5,14.5 Z"' \
    -fill none -stroke '#f7c978' \
    -draw 'path "M 6.5,11.5 C 6.5,7 9,6 12,5.5"' \
    -stroke none -fill '#fff3d0' \
    ${seeds:+-draw "$seeds"} \
    "$@"
}

if [ "${1:-}" = --web ]; then
  # 64 colours look the same and take half the bytes to download.
  web() { draw "$1" -depth 8 -colors 64 -strip -define png:exclude-chunks=date,time "PNG:$2"; }
  web 192 "$2/icon-192.png"
  web 512 "$2/icon-512.png"
  # The design's farthest corner, 17.5 of its 32 units from the centre,
  # within the 40 % radius a mask may keep.
  canvas=$3 margin=0.14
  web 512 "$2/icon-maskable.png"
  web 180 "$2/apple-touch-icon.png"
  exit
fi
cd "$here"

# The 32x32 image as it has always been: an 8-bit icon only has an on/off
# transparency mask, so semi-transparent edge pixels are thresholded.
draw 32 -channel A -threshold 50% +channel +dither -colors 256 -strip \
  -define png:exclude-chunks=date,time PNG8:icon.png
for size in 16 24 48 256; do
  draw "$size" -strip -define png:exclude-chunks=date,time PNG32:icon-$size.png
done

# -type PaletteAlpha makes the .ico writer keep the 32x32 image's 8-bit
# colour table plus mask; the other images stay 32-bit with alpha, and the
# 256x256 one is stored as PNG, as Windows expects.
convert icon-16.png icon-24.png \( icon.png -type PaletteAlpha \) icon-48.png icon-256.png icon.ico
