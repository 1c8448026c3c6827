#!/usr/bin/env python3
"""Draws the built-in 90 x 90 matrix tile (bitmap resource 9908).

A basket weave of rounded strands: four 45-pixel cells, each holding three
strands that run across or down, alternating like a chequerboard, so the
picture repeats without a seam at every multiple of 90. Each strand is lit as
a cylinder and darkens where it dips under its neighbours.

Run from this folder to regenerate matrix_default.bmp:
    python3 make_matrix_default.py
"""
import math
import struct

SIZE = 90
CELL = 45
STRAND = 15
GAP = 2

# Warm gold strands on a deep umber ground.
LIGHT = (250, 214, 120)
DARK = (120, 70, 24)
GROUND = (40, 22, 10)


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def pixel(x, y):
    cx, cy = x // CELL, y // CELL
    across = (cx + cy) % 2 == 0
    # Position across the strand (0..STRAND) and along the cell (0..CELL).
    along, side = (x % CELL, y % CELL) if across else (y % CELL, x % CELL)
    offset = side % STRAND
    if offset < GAP / 2 or offset >= STRAND - GAP / 2:
        return GROUND
    t = (offset - GAP / 2 + 0.5) / (STRAND - GAP)
    # Cylinder shading with the light from the upper left.
    shade = math.sin(math.pi * t) ** 0.8
    shade *= 0.85 + 0.15 * (1 - t)
    # The strand dips under the crossing strands at both ends of its cell.
    dip = math.sin(math.pi * (along + 0.5) / CELL) ** 0.35
    level = max(0.0, min(1.0, shade * dip))
    colour = mix(DARK, LIGHT, level)
    # A thin highlight along the strand's crown.
    if 0.25 < t < 0.4:
        colour = mix(colour, (255, 244, 210), 0.35 * dip)
    return colour


def main():
    stride = (SIZE * 3 + 3) // 4 * 4
    rows = bytearray()
    for y in range(SIZE - 1, -1, -1):  # bottom row first
        row = bytearray()
        for x in range(SIZE):
            r, g, b = (int(round(c)) for c in pixel(x, y))
            row += bytes((b, g, r))
        row += bytes(stride - len(row))
        rows += row
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(rows), 0, 0, 14 + len(info))
    with open("matrix_default.bmp", "wb") as f:
        f.write(header + info + rows)


if __name__ == "__main__":
    main()
