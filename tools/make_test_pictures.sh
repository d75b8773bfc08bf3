#!/usr/bin/env bash
# Writes the small pictures the picture decoder tests read (tests/data/pictures/):
# one 16 x 8 drawing, black on its left half and white on its right, in every
# format and variant the decoders take, plus one with transparency and one in colour.
set -euo pipefail
cd "$(dirname "$0")/../tests/data/pictures"
base=(-size 16x8 xc:white -fill black -draw "rectangle 0,0 7,7")
convert "${base[@]}" -type Grayscale half.png
convert "${base[@]}" -quality 95 half.jpg
convert "${base[@]}" -define webp:lossless=true half.webp
convert "${base[@]}" half.gif
convert "${base[@]}" -type TrueColor BMP3:half-24.bmp
convert "${base[@]}" -type Palette BMP3:half-8.bmp
convert "${base[@]}" -type TrueColorAlpha BMP3:half-32.bmp
convert "${base[@]}" half.pbm
convert "${base[@]}" half.pgm
convert "${base[@]}" half.ppm
convert "${base[@]}" -compress none half-plain.pbm
convert "${base[@]}" -compress none half-plain.pgm
convert "${base[@]}" -compress none half-plain.ppm
convert "${base[@]}" -depth 16 half-16bit.pgm
# Left half transparent (paper), right half opaque black.
convert -size 16x8 xc:none -fill black -draw "rectangle 8,0 15,7" -type TrueColorAlpha transparent-left.png
# Pure red left half: grey 76 by the Rec. 601 weights.
convert -size 16x8 xc:white -fill "#FF0000" -draw "rectangle 0,0 7,7" -type TrueColor red-left.png
