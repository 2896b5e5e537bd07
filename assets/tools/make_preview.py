#!/usr/bin/env python3
"""Writes assets/preview.jpg: the still picture shown in the preview pane.

152 x 112 pixels, the size of the host's preview pane: a night-blue sky that
lightens toward the horizon, a pale crescent moon, a few stars and a dark
range of hills, in the style of the program icon.  The pixels are drawn
here as a PPM with plain arithmetic (no random numbers), then ImageMagick
turns them into a baseline colour JPEG, so the result is repeatable.

Usage: make_preview.py [OUT.jpg]   (default: assets/preview.jpg)
"""
import math
import subprocess
import sys
import tempfile
from pathlib import Path

WIDTH, HEIGHT = 152, 112
MOON = (104.0, 30.0, 15.0)  # centre x, centre y, radius
MOON_CUT = (111.0, 24.0, 13.5)  # the sky-coloured disc that makes it a crescent
STARS = ((18, 14, 2), (41, 33, 1), (63, 10, 1), (30, 58, 1), (78, 40, 2), (136, 62, 1),
         (8, 44, 1), (125, 8, 1), (55, 52, 1))


def lerp(a, b, t):
    return a + (b - a) * t


def sky(x, y):
    # Deep navy at the top to a violet-blue glow at the horizon.
    t = y / (HEIGHT - 1)
    return (lerp(6, 70, t ** 1.6), lerp(10, 60, t ** 1.4), lerp(48, 140, t))


def hills(x):
    # Height of the dark ridge above the bottom edge.
    return 18 + 7 * math.sin(x / 17.0) + 4 * math.sin(x / 7.3 + 1.0)


def pixel(x, y):
    r, g, b = sky(x, y)
    mx, my, mr = MOON
    cx, cy, cr = MOON_CUT
    d = math.hypot(x - mx, y - my)
    if d < mr + 6:  # a soft halo round the moon
        glow = max(0.0, 1 - d / (mr + 6)) * 0.35
        r, g, b = lerp(r, 230, glow), lerp(g, 225, glow), lerp(b, 200, glow)
    if d < mr and math.hypot(x - cx, y - cy) >= cr:
        shade = 1 - 0.25 * d / mr
        r, g, b = 250 * shade, 240 * shade, 200 * shade
    for sx, sy, size in STARS:
        if abs(x - sx) + abs(y - sy) < size or (x, y) == (sx, sy):
            r, g, b = 255, 250, 225
    if HEIGHT - 1 - y < hills(x):
        r, g, b = 8, 10, 26
    return tuple(max(0, min(255, int(round(c)))) for c in (r, g, b))


def main(out):
    data = bytearray(b"P6 %d %d 255\n" % (WIDTH, HEIGHT))
    for y in range(HEIGHT):
        for x in range(WIDTH):
            data += bytes(pixel(x, y))
    with tempfile.TemporaryDirectory() as tmp:
        ppm = Path(tmp) / "preview.ppm"
        ppm.write_bytes(bytes(data))
        subprocess.run(["convert", str(ppm), "-strip", "-quality", "90", "-interlace", "none",
                        "-sampling-factor", "2x2", f"jpeg:{out}"], check=True)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else str(Path(__file__).resolve().parents[1] /
                                                  "preview.jpg"))
