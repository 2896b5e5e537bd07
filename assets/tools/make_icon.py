#!/usr/bin/env python3
"""Writes assets/mirane.ico: the program icon, 32 x 32 pixels, 256 colours.

A night-blue disc with a pale crescent and three small stars, drawn on a
palette of our own so that the result is byte-for-byte repeatable.
"""
import math
import struct
import sys
from pathlib import Path

SIZE = 32


def palette():
    # 0: transparent stand-in, 1..200: navy -> lavender ramp, 201..255: warm whites.
    colours = [(0, 0, 0)]
    for i in range(200):
        t = i / 199
        colours.append((int(0 + 220 * t), int(0 + 220 * t), int(30 + 220 * t)))
    for i in range(55):
        t = i / 54
        colours.append((int(200 + 55 * t), int(190 + 60 * t), int(150 + 90 * t)))
    return colours


def pixel(x, y):
    """Palette index and opacity of one pixel."""
    cx = cy = (SIZE - 1) / 2
    r = math.hypot(x - cx, y - cy)
    if r > 15.5:
        return 0, False
    # Sky: darker at the rim, lighter toward the upper left.
    shade = 1 + int(60 + 70 * (1 - r / 15.5) - 25 * ((x + y) / (2 * SIZE)))
    # Crescent: a bright disc with a sky-coloured disc cut out of it.
    if math.hypot(x - 13, y - 13) < 8.5 and math.hypot(x - 17, y - 10) >= 7.5:
        return 201 + int(40 * (1 - math.hypot(x - 13, y - 13) / 8.5)), True
    for sx, sy in ((24, 8), (22, 21), (9, 24)):
        if abs(x - sx) + abs(y - sy) <= 1:
            return 254, True
    return max(1, min(200, shade)), True


def main(out):
    colours = palette()
    xor = bytearray()
    mask = bytearray()
    for y in reversed(range(SIZE)):  # bottom-up rows
        bits = 0
        row_mask = bytearray()
        for x in range(SIZE):
            index, opaque = pixel(x, y)
            xor.append(index)
            bits = (bits << 1) | (0 if opaque else 1)
            if x % 8 == 7:
                row_mask.append(bits)
                bits = 0
        mask += row_mask  # 4 bytes a row, already 32-bit aligned
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, 8, 0, len(xor) + len(mask), 0, 0,
                         256, 0)
    pal = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in colours)
    image = header + pal + bytes(xor) + bytes(mask)
    icondir = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', SIZE, SIZE, 0, 0, 1, 8, len(image), 6 + 16)
    Path(out).write_bytes(icondir + entry + image)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else str(Path(__file__).resolve().parent.parent / 'mirane.ico'))
