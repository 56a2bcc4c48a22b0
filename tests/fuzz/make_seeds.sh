#!/usr/bin/env bash
# Writes the fuzz targets' seed corpora (committed; CI does not run this).
# Needs python3, ImageMagick's convert, sox and lame.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
corpus=$here/corpus
rm -rf "$corpus"
mkdir -p "$corpus"/{fuzz_demo_script,fuzz_bitmap,fuzz_jpeg,fuzz_soundtrack}

python3 - "$corpus" <<'PY'
import struct, sys
corpus = sys.argv[1]

def event(name, start, end, layer, ident=0, value=0, depth=0, colour=0, target=0):
    raw = name.encode() if isinstance(name, str) else name
    field = (raw + b"\0" * 515)[:515]
    return (b"\0" + field + struct.pack("<7i", start, end, layer, 0, target, ident, value)
            + bytes([depth, colour, 0, 0]))

def script(path, events, count=None):
    with open(path, "wb") as out:
        out.write(struct.pack("<i", len(events) if count is None else count))
        for e in events:
            out.write(e)

d = corpus + "/fuzz_demo_script/"
script(d + "commands", [
    event("clear buffer", 0, 9000, 0, depth=1, colour=1),
    event("Interference Plugin", 0, 9000, 1),
    event("rtt start", 100, 200, 4, ident=2),
    event("rtt end", 100, 200, 5, depth=1),
    event("TRIGGER", 300, 400, 9, ident=4, value=15),
    event("send param", 0, 10, 3),
    event("Nobody", 0, 10, 2),
])
script(d + "bad_records", [
    event(b"x" * 515, 0, 10, 0),
    event("clear buffer", 0, 10, -1),
    event("clear buffer", 0, 10, 10),
    event("Trigger", 20, 10, 9),
])
script(d + "short", [event("clear buffer", 0, 10, 0)[:300]], count=3)
script(d + "negative", [], count=-5)
script(d + "huge", [event("TRIGGER", 0, 10, 9)], count=0x7FFFFFFF)
open(d + "count_only_part", "wb").write(b"\x02\x00")

def bmp(path, width, height, bits, palette=0, compression=0, pixels=None, top_down=False):
    stride = ((width * bits + 31) // 32) * 4
    if pixels is None:
        pixels = bytes((i * 37) & 0xFF for i in range(stride * height))
    offset = 14 + 40 + palette * 4
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, -height if top_down else height, 1, bits,
                       compression, len(pixels), 2835, 2835, palette, 0)
    table = b"".join(struct.pack("<BBBB", i * 40 % 256, i * 90 % 256, i * 20 % 256, 0)
                     for i in range(palette))
    open(path, "wb").write(header + info + table + pixels)

d = corpus + "/fuzz_bitmap/"
bmp(d + "rgb24_4x2", 4, 2, 24)
bmp(d + "rgb24_3x3_padded", 3, 3, 24)
bmp(d + "rgb24_top_down", 2, 2, 24, top_down=True)
bmp(d + "rgb32", 2, 2, 32)
bmp(d + "rgb16", 3, 2, 16)
bmp(d + "pal8", 4, 2, 8, palette=4)
bmp(d + "pal4", 5, 2, 4, palette=3)
bmp(d + "pal1", 9, 2, 1, palette=2)
bmp(d + "rle8", 4, 2, 8, palette=2, compression=1,
    pixels=bytes([4, 1, 0, 0, 2, 0, 2, 1, 0, 1]))
PY

d=$corpus/fuzz_jpeg
convert -size 16x8 gradient:red-blue -quality 80 "$d/colour.jpg"
convert -size 8x8 gradient:white-black -colorspace Gray -quality 80 "$d/grey.jpg"
convert -size 16x16 plasma:fractal -interlace Plane -quality 60 "$d/progressive.jpg"
convert -size 9x5 xc:orange -sampling-factor 4:2:0 -quality 90 "$d/odd_size.jpg"
# Without their end-of-image marker, as some cameras write them.
head -c -2 "$d/colour.jpg" > "$d/colour_unended.jpg"
head -c -2 "$d/progressive.jpg" > "$d/progressive_unended.jpg"
# Adobe CMYK and YCCK, as the importer tests read them.
cp "$here/../textures/cmyk/plas_1_cmyk.jpg" "$d/adobe_cmyk.jpg"
cp "$here/../textures/cmyk/plas_1_ycck.jpg" "$d/adobe_ycck.jpg"
# Arithmetic-coded, whole and without its end marker.
cp "$here/../textures/encoders/cjpeg_arithmetic_progressive.jpg" "$d/arithmetic.jpg"
head -c -2 "$d/arithmetic.jpg" > "$d/arithmetic_unended.jpg"

d=$corpus/fuzz_soundtrack
tmp=$(mktemp -d)
sox -n -r 22050 -c 1 "$tmp/mono.wav" synth 0.15 sine 440
sox -n -r 44100 -c 2 "$tmp/stereo.wav" synth 0.1 sine 220 sine 660
sox -n -r 8000 -c 1 "$tmp/low.wav" synth 0.2 square 300
lame --quiet -b 32 "$tmp/mono.wav" "$d/mono_22050.mp3"
lame --quiet -b 64 "$tmp/stereo.wav" "$d/stereo_44100.mp3"
lame --quiet -b 8 "$tmp/low.wav" "$d/mpeg25_8000.mp3"
lame --quiet --freeformat -b 32 "$tmp/mono.wav" "$d/free_format_22050.mp3"
lame --quiet --nohist -V 9 --tt "seed" --add-id3v2 "$tmp/mono.wav" "$d/id3_vbr.mp3"
rm -rf "$tmp"
