#!/bin/sh
# Makes the JPEGs of other encoders that the importer tests read, from a
# 45 x 30 crop of data/plas_2.jpg (an odd size, so that MCUs are cut at both
# edges), as libjpeg's cjpeg and ImageMagick write them:
#   cjpeg_baseline.jpg      one interleaved scan, 4:2:0
#   cjpeg_progressive.jpg   cjpeg's progressive scans
#   cjpeg_restarts.jpg      a restart marker after every MCU row
#   cjpeg_colour_scans.jpg  sequential, one scan per colour component
#   cjpeg_arithmetic.jpg    one interleaved scan, arithmetic-coded
#   cjpeg_arithmetic_progressive.jpg  cjpeg's progressive scans, arithmetic-coded
#   magick_baseline.jpg     ImageMagick, 4:2:2
#   magick_progressive.jpg  ImageMagick's progressive scans
# Needs libjpeg-turbo-progs and imagemagick; run from anywhere.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

djpeg "$here/../../../data/plas_2.jpg" > "$work/whole.ppm"
convert "$work/whole.ppm" -crop 45x30+100+70 +repage "$work/crop.ppm"
printf '0;\n1;\n2;\n' > "$work/colour.scans"

cjpeg -quality 90 "$work/crop.ppm" > "$here/cjpeg_baseline.jpg"
cjpeg -quality 90 -progressive "$work/crop.ppm" > "$here/cjpeg_progressive.jpg"
cjpeg -quality 90 -restart 1 "$work/crop.ppm" > "$here/cjpeg_restarts.jpg"
cjpeg -quality 90 -scans "$work/colour.scans" "$work/crop.ppm" > "$here/cjpeg_colour_scans.jpg"
cjpeg -quality 90 -arithmetic "$work/crop.ppm" > "$here/cjpeg_arithmetic.jpg"
cjpeg -quality 90 -arithmetic -progressive "$work/crop.ppm" > "$here/cjpeg_arithmetic_progressive.jpg"
convert "$work/crop.ppm" -strip -quality 85 -sampling-factor 4:2:2 "$here/magick_baseline.jpg"
convert "$work/crop.ppm" -strip -quality 85 -interlace Plane "$here/magick_progressive.jpg"
