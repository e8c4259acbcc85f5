#!/usr/bin/env python3
"""Draws the slide show's page dots: SliderDotNormal.png and SliderDotHighlighted.png.

Both are 15 x 15 pixels: a round dot of 7 pixels across in the middle, white, faint for the
normal dot and full for the highlighted one, with antialiased edges. Run from any folder; the
images are written next to this script.
"""
import os
import struct
import zlib

SIZE = 15
DOT_RADIUS = 3.5
SAMPLES = 4  # per axis, for the antialiased edge


def coverage(x, y):
    inside = 0
    centre = SIZE / 2.0
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            px = x + (sx + 0.5) / SAMPLES - centre
            py = y + (sy + 0.5) / SAMPLES - centre
            if px * px + py * py <= DOT_RADIUS * DOT_RADIUS:
                inside += 1
    return inside / (SAMPLES * SAMPLES)


def png(rows):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    raw = b"".join(b"\x00" + bytes(row) for row in rows)
    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def dot(opacity):
    rows = []
    for y in range(SIZE):
        row = []
        for x in range(SIZE):
            row += [255, 255, 255, round(255 * opacity * coverage(x, y))]
        rows.append(row)
    return png(rows)


here = os.path.dirname(os.path.abspath(__file__))
for name, opacity in (("SliderDotNormal.png", 0.35), ("SliderDotHighlighted.png", 1.0)):
    with open(os.path.join(here, name), "wb") as out:
        out.write(dot(opacity))
