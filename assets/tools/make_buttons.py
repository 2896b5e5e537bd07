#!/usr/bin/env python3
"""Writes the image button's six state pictures into assets/.

Each is 64 x 25 pixels, a 24-bit uncompressed BMP of 4854 bytes: a rounded
button outline on the beige window ground.  Only the outer four pixels of a
picture reach the button's face (its middle shows the gradient), so that is
where the detail is.  Pure standard library and no randomness, so a rerun
gives the same bytes.
"""
import struct
import sys
from pathlib import Path

W, H = 64, 25
BEIGE = (0xEC, 0xE9, 0xD8)
NAVY = (0x00, 0x3C, 0x74)


def rgb(value):
    return ((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF)


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def rounded(x, y, inset):
    """Where a pixel lies relative to a rounded rectangle inset from the edges:
    'out', 'edge' (on its 1-pixel border) or 'in'."""
    left, top, right, bottom = inset, inset, W - 1 - inset, H - 1 - inset
    if x < left or x > right or y < top or y > bottom:
        return "out"
    # Each corner is cut by one pixel, which rounds the outline.
    cx = x in (left, right)
    cy = y in (top, bottom)
    if cx and cy:
        return "out"
    if cx or cy:
        return "edge"
    return "in"


def ring_depth(x, y, inset):
    """How many pixels inside the border a pixel lies (1 = just inside)."""
    left, top, right, bottom = inset, inset, W - 1 - inset, H - 1 - inset
    return min(x - left, right - x, y - top, bottom - y)


def ground(y, top_colour, bottom_colour, shade_rows=4):
    # A flat ground that darkens over its last rows.
    start = H - 2 - shade_rows
    if y <= start:
        return top_colour
    return mix(top_colour, bottom_colour, (y - start) / shade_rows)


def picture(kind):
    pixels = [[BEIGE] * W for _ in range(H)]
    inset = 2 if kind == "Pressed" else 1
    border = rgb(0xC9C7BA) if kind == "Disable" else NAVY
    for y in range(H):
        for x in range(W):
            where = rounded(x, y, inset)
            if where == "out":
                continue
            if where == "edge":
                pixels[y][x] = border
                continue
            if kind == "Disable":
                pixels[y][x] = rgb(0xF5F4EA)
            elif kind == "Pressed":
                pixels[y][x] = ground(y, rgb(0xE6E6DF), rgb(0xD1D0C8), 3)
            else:
                pixels[y][x] = ground(y, rgb(0xF3F3EE), rgb(0xDCD8CE))
            depth = ring_depth(x, y, inset)
            # Ring colours hold exactly along the top and bottom rows of each
            # ring and blend down the sides.
            t_outer = min(1.0, max(0.0, (y - 2) / (H - 5)))
            t_inner = min(1.0, max(0.0, (y - 3) / (H - 7)))
            if kind in ("HighLight", "HighLightSelect") and depth <= 2:
                outer = mix(rgb(0xFFF0CF), rgb(0xE59700), t_outer)
                inner = mix(rgb(0xFDD889), rgb(0xF8B330), t_inner)
                pixels[y][x] = outer if depth == 1 else inner
            elif kind == "Selected" and depth <= 2:
                outer = mix(rgb(0xCEE7FF), rgb(0x6982EE), t_outer)
                inner = mix(rgb(0xCEE7FF), rgb(0x6982EE), t_inner)
                pixels[y][x] = outer if depth == 1 else mix(inner, rgb(0xF3F3EE), 0.25)
    return pixels


def bmp(pixels):
    row_bytes = W * 3  # 192: already a multiple of four, no padding
    image = bytearray()
    for row in reversed(pixels):  # bottom-up rows
        for r, g, b in row:
            image += bytes((b, g, r))
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(image), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 24, 0, len(image), 3780, 3780, 0, 0)
    assert row_bytes * H == len(image)
    return header + info + bytes(image)


def main(out_dir):
    out_dir = Path(out_dir)
    for kind in ("Normal", "HighLight", "Pressed", "Selected", "HighLightSelect", "Disable"):
        data = bmp(picture(kind))
        assert len(data) == 4854
        (out_dir / f"{kind}.bmp").write_bytes(data)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent)
