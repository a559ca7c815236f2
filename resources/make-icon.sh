#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Draws the window icon (a hamburger) from scratch and writes
#   icon.png - 32x32, 8-bit palette with transparency (Linux, .desktop)
#   icon.ico - 32x32, 8 bits per pixel, 256-colour palette (Windows)
# next to this script. Needs ImageMagick 6 ("convert").
#
# Layers, from the bottom up: bun bottom, cheese with two drips,
# patty, lettuce, domed bun top with a highlight and sesame seeds.
# Coordinates are in pixels; the .5 offsets keep 1-pixel outlines
# on whole pixels. Semi-transparent edge pixels are thresholded,
# because an 8-bit icon only has an on/off transparency mask.
set -eu
cd "$(dirname "$0")"

convert -size 32x32 xc:none \
  -strokewidth 1 \
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
  -draw 'rectangle 9,7 10,7' -draw 'rectangle 15,5 16,5' \
  -draw 'rectangle 21,7 22,7' -draw 'rectangle 12,10 13,10' \
  -draw 'rectangle 18,10 19,10' \
  -channel A -threshold 50% +channel \
  +dither -colors 256 -strip \
  -define png:exclude-chunks=date,time \
  PNG8:icon.png

# -type PaletteAlpha makes the .ico writer use an 8-bit colour table
# plus the transparency mask instead of 32-bit pixels.
convert icon.png -type PaletteAlpha icon.ico
