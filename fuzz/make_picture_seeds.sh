#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the seed pictures of the picture fuzz target into the folder named on the command
# line: JPEG files from ImageMagick and cjpeg in the codings libjpeg reads (baseline,
# progressive, arithmetic, restart markers, grey, CMYK, several subsamplings), bitmaps in
# each header version, bit depth and compression ImageMagick writes, and icons with several
# sizes and a PNG-compressed entry. Small pictures, so the fuzzer's mutations stay fast.
set -euo pipefail

out=${1:?usage: make_picture_seeds.sh FOLDER}
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A picture with edges and a gradient, so every coding has real work to do.
src="$work/src.png"
convert -size 40x30 gradient:'#f0c020-#2050c0' -fill darkgreen -draw 'ellipse 20,15 10,7 0,360' \
  "$src"
convert "$src" -compress none "$work/src.ppm"

convert "$src" -quality 85 -sampling-factor 2x2 "$out/baseline-420.jpg"
convert "$src" -quality 95 -sampling-factor 1x1 "$out/baseline-444.jpg"
convert "$src" -quality 60 -sampling-factor 2x1 "$out/baseline-422.jpg"
convert "$src" -interlace JPEG -quality 75 "$out/progressive.jpg"
convert "$src" -colorspace Gray -quality 80 "$out/grey.jpg"
convert "$src" -colorspace CMYK -quality 80 "$out/cmyk.jpg"
cjpeg -quality 80 -arithmetic -outfile "$out/arithmetic.jpg" "$work/src.ppm"
cjpeg -quality 80 -restart 1 -outfile "$out/restart.jpg" "$work/src.ppm"
cjpeg -quality 50 -progressive -arithmetic -outfile "$out/progressive-arithmetic.jpg" \
  "$work/src.ppm"
cjpeg -quality 90 -optimize -sample 1x2,1x1,1x1 -outfile "$out/optimized-12.jpg" "$work/src.ppm"

# A progressive picture whose header claims 12000 x 12000 pixels: refused for its memory.
python3 - "$out/progressive.jpg" "$out/claims-huge.jpg" <<'PY'
import sys
data = bytearray(open(sys.argv[1], 'rb').read())
frame = data.find(b'\xff\xc2')
data[frame + 5:frame + 9] = (12000).to_bytes(2, 'big') * 2
open(sys.argv[2], 'wb').write(data)
PY

convert "$src" BMP2:"$out/os2-24.bmp"
convert "$src" BMP3:"$out/v3-24.bmp"
convert "$src" -alpha set -channel A -evaluate set 50% +channel BMP:"$out/v5-32-alpha.bmp"
convert "$src" -colors 200 -type Palette -compress none BMP3:"$out/palette-8.bmp"
convert "$src" -colors 16 -depth 4 -type Palette -compress none BMP3:"$out/palette-4.bmp"
convert "$src" -monochrome BMP3:"$out/mono-1.bmp"
convert "$src" -colors 200 -type Palette -compress RLE BMP3:"$out/rle-8.bmp"
# ImageMagick writes no 4-bit run-length bitmaps: one by hand, with runs, an absolute run, a
# delta jump and the end-of-line and end-of-picture codes.
python3 - "$out/rle-4.bmp" <<'PY'
import struct, sys
width, height = 16, 8
palette = b''.join(struct.pack('<BBBB', i * 16, 255 - i * 16, (i * 40) % 256, 0) for i in range(16))
rows = []
for y in range(height):
    if y == 3:
        rows.append(bytes([0, 2, 4, 1]))  # jump 4 right and a row down
        continue
    rows.append(bytes([6, 0x12, 0, 5, 0x34, 0x56, 0x70, 0, 5, 0xAB]) + bytes([0, 0]))
pixels = b''.join(rows) + bytes([0, 1])
info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 4, 2, len(pixels), 2835, 2835, 16, 0)
offset = 14 + len(info) + len(palette)
header = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
open(sys.argv[1], 'wb').write(header + info + palette + pixels)
PY
convert "$src" -define bmp:subtype=RGB565 BMP:"$out/rgb565.bmp"
convert "$src" -flip -define bmp:format=bmp3 "$out/flipped.bmp"

convert "$src" -resize 16x16! "$work/i16.png"
convert "$src" -resize 32x32! -alpha set -channel A -evaluate set 70% +channel "$work/i32.png"
convert "$src" -resize 24x24! -colors 16 -type Palette "$work/i24.png"
convert "$work/i16.png" "$work/i32.png" "$out/two-sizes.ico"
convert "$work/i24.png" "$out/palette.ico"
convert "$src" -resize 256x256! -colors 8 -depth 8 "$out/png-entry.ico"

ls "$out" | wc -l | xargs echo "seed pictures written:"
