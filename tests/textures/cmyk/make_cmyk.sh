#!/bin/sh
# Makes the four-colour JPEGs the importer tests read, from the top-left
# 64 x 64 pixels of data/plas_1.jpg, the way print-oriented tools save them:
#   plas_1_cmyk.jpg  Adobe CMYK (APP14 transform 0), written by Python's PIL;
#   plas_1_ycck.jpg  Adobe YCCK (APP14 transform 2), the same inks re-encoded
#                    by libjpeg.
# The inks come from full black generation: K = 1 - max(R, G, B) and
# C = (1 - R - K) / (1 - K), and so on, which (1 - C)(1 - K) turns back into
# R. Both writers store the inks inverted, as Photoshop does.
# Needs python3-pil, libjpeg-dev and a C compiler; run from anywhere.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
source_picture="$here/../../../data/plas_1.jpg"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

/usr/bin/python3 - "$source_picture" "$here/plas_1_cmyk.jpg" <<'PY'
import sys
from PIL import Image

rgb = Image.open(sys.argv[1]).convert("RGB").crop((0, 0, 64, 64))
inks = []
for r, g, b in rgb.getdata():
    r, g, b = r / 255, g / 255, b / 255
    k = 1 - max(r, g, b)
    if k >= 1:
        c = m = y = 0.0
    else:
        c, m, y = ((1 - v - k) / (1 - k) for v in (r, g, b))
    inks.append(tuple(int(round(v * 255)) for v in (c, m, y, k)))
cmyk = Image.new("CMYK", rgb.size)
cmyk.putdata(inks)
cmyk.save(sys.argv[2], quality=95)
PY

cat > "$work/ycck.c" <<'C'
/* Reads a four-component JPEG's inks as stored and writes them as YCCK. */
#include <stdio.h>
#include <stdlib.h>
#include <jpeglib.h>

int main(int argc, char** argv)
{
    struct jpeg_decompress_struct in;
    struct jpeg_compress_struct out;
    struct jpeg_error_mgr inErrors, outErrors;
    if (argc != 3)
        return 1;
    FILE* source = fopen(argv[1], "rb");
    FILE* target = fopen(argv[2], "wb");
    if (!source || !target)
        return 1;

    in.err = jpeg_std_error(&inErrors);
    jpeg_create_decompress(&in);
    jpeg_stdio_src(&in, source);
    jpeg_read_header(&in, TRUE);
    in.out_color_space = JCS_CMYK;
    jpeg_start_decompress(&in);
    size_t row = (size_t)in.output_width * 4;
    unsigned char* inks = malloc(row * in.output_height);
    while (in.output_scanline < in.output_height) {
        JSAMPROW at = inks + row * in.output_scanline;
        jpeg_read_scanlines(&in, &at, 1);
    }

    out.err = jpeg_std_error(&outErrors);
    jpeg_create_compress(&out);
    jpeg_stdio_dest(&out, target);
    out.image_width = in.output_width;
    out.image_height = in.output_height;
    out.input_components = 4;
    out.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&out);
    jpeg_set_colorspace(&out, JCS_YCCK);
    jpeg_set_quality(&out, 95, TRUE);
    jpeg_start_compress(&out, TRUE);
    while (out.next_scanline < out.image_height) {
        JSAMPROW at = inks + row * out.next_scanline;
        jpeg_write_scanlines(&out, &at, 1);
    }
    jpeg_finish_compress(&out);
    jpeg_finish_decompress(&in);
    fclose(target);
    fclose(source);
    return 0;
}
C
cc -O2 -o "$work/ycck" "$work/ycck.c" -ljpeg
"$work/ycck" "$here/plas_1_cmyk.jpg" "$here/plas_1_ycck.jpg"
