#!/usr/bin/env python3
"""Draws the pictures of the gradient editor's four shape buttons
(bitmap resources 9920 to 9923): linear, angular, elliptical, rectangular.

Each is a 26 x 26 ramp from deep blue to pale gold laid out the way the shape
lays out a gradient, so the button says what it does without words.

Run from this folder to regenerate gradient_shape_*.bmp:
    python3 make_gradient_shapes.py
"""
import math
import struct

SIZE = 26
START = (30, 50, 140)
END = (250, 225, 140)


def mix(t):
    t = max(0.0, min(1.0, t))
    return tuple(int(START[i] + (END[i] - START[i]) * t + 0.5) for i in range(3))


def linear(x, y):
    return y / (SIZE - 1)


def angular(x, y):
    # Mirrored sweep about the centre: the start colour to the left, the end
    # colour to the right, symmetric above and below.
    dx, dy = x + 0.5 - SIZE / 2, y + 0.5 - SIZE / 2
    return abs(math.atan2(dy, -dx)) / math.pi


def elliptical(x, y):
    dx, dy = x + 0.5 - SIZE / 2, y + 0.5 - SIZE / 2
    return 1.0 - min(1.0, math.hypot(dx, dy) / (SIZE / 2 * 1.2))


def rectangular(x, y):
    dx, dy = abs(x + 0.5 - SIZE / 2), abs(y + 0.5 - SIZE / 2)
    return 1.0 - max(dx, dy) / (SIZE / 2)


def write_bmp(name, shade):
    stride = (SIZE * 3 + 3) & ~3
    rows = []
    for y in range(SIZE - 1, -1, -1):  # bottom-up
        row = bytearray()
        for x in range(SIZE):
            r, g, b = mix(shade(x, y))
            row += bytes((b, g, r))
        row += bytes(stride - len(row))
        rows.append(bytes(row))
    pixels = b"".join(rows)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 14 + 40)
    with open(name, "wb") as f:
        f.write(file_header + header + pixels)


for name, shade in (("linear", linear), ("angular", angular), ("elliptical", elliptical),
                    ("rectangular", rectangular)):
    write_bmp("gradient_shape_%s.bmp" % name, shade)
