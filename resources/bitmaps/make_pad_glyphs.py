# Run: python3 make_pad_glyphs.py resources/bitmaps
# Draws the direction pads' glyph strips: 32-bit BMPs with alpha, one 24 x 24
# cell per value, a dark arrow antialiased by 4 x 4 supersampling.
import math, struct, sys

def arrow(angle):
    # An arrow pointing at `angle` (radians, 0 = right, y down), centred in 24 x 24.
    pts = [(8, 0), (1, -6), (1, -2.5), (-7, -2.5), (-7, 2.5), (1, 2.5), (1, 6)]
    c, s = math.cos(angle), math.sin(angle)
    return [(12 + x * c - y * s, 12 + x * s + y * c) for x, y in pts]

def double_arrow(angle):
    pts = [(9, 0), (3, -6), (3, -2.5), (-3, -2.5), (-3, -6), (-9, 0), (-3, 6), (-3, 2.5), (3, 2.5), (3, 6)]
    c, s = math.cos(angle), math.sin(angle)
    return [(12 + x * c - y * s, 12 + x * s + y * c) for x, y in pts]

def inside(poly, x, y):
    n = len(poly); j = n - 1; hit = False
    for i in range(n):
        xi, yi = poly[i]; xj, yj = poly[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            hit = not hit
        j = i
    return hit

def cell(poly):
    alpha = []
    for y in range(24):
        row = []
        for x in range(24):
            n = sum(inside(poly, x + (i + 0.5) / 4, y + (j + 0.5) / 4) for i in range(4) for j in range(4))
            row.append(n * 255 // 16)
        alpha.append(row)
    return alpha

def write_strip(path, polys):
    cells = [cell(p) for p in polys]
    w, h = 24 * len(cells), 24
    pixels = bytearray()
    for y in range(h - 1, -1, -1):  # bottom-up
        for c in cells:
            for x in range(24):
                a = c[y][x]
                pixels += bytes((0x20, 0x20, 0x20, a))  # blue, green, red, alpha
    header = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 32, 0, len(pixels), 2835, 2835, 0, 0)
    file_header = struct.pack('<2sIHHI', b'BM', 14 + 40 + len(pixels), 0, 0, 14 + 40)
    open(path, 'wb').write(file_header + header + pixels)

R, D, L, U = 0, math.pi / 2, math.pi, -math.pi / 2
out = sys.argv[1]
# Values in the pads' order; the shadow pad's arrows point where the shadow falls.
write_strip(out + '/pad_shadow.bmp', [arrow(a) for a in (U - math.pi / 4, U, U + math.pi / 4, R, L, D + math.pi / 4, D, D - math.pi / 4)])
write_strip(out + '/pad_scroll4.bmp', [arrow(a) for a in (U, R, L, D)])
write_strip(out + '/pad_scroll2.bmp', [arrow(a) for a in (L, R)])
write_strip(out + '/pad_scrollhv.bmp', [double_arrow(a) for a in (R, D)])
