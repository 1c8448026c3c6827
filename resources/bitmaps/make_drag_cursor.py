#!/usr/bin/env python3
"""Draws the cursor a fountain library entry is dragged with (cursor 9001).

The usual arrow, its tip the hot spot, carrying a small ramp card: a framed
strip whose dither thins from black to white, the way an entry's preview
runs from its start to its end colour. Monochrome with a mask, so it shows
on any desktop.

Run from this folder to regenerate fountain_drag.cur (and, with --png FILE,
a magnified picture of it on grey to look at):
    python3 make_drag_cursor.py
"""
import struct
import sys
import zlib

SIZE = 32
# '#' black, 'o' white, '.' transparent.
ARROW = [
    "#...........",
    "##..........",
    "#o#.........",
    "#oo#........",
    "#ooo#.......",
    "#oooo#......",
    "#ooooo#.....",
    "#oooooo#....",
    "#ooooooo#...",
    "#oooooooo#..",
    "#ooooo#####.",
    "#oo#oo#.....",
    "#o#.#oo#....",
    "##..#oo#....",
    "#....#oo#...",
    ".....#oo#...",
    "......##....",
]
CARD_LEFT, CARD_TOP, CARD_W, CARD_H = 9, 17, 21, 11


def picture():
    grid = [['.'] * SIZE for _ in range(SIZE)]
    for y, row in enumerate(ARROW):
        for x, c in enumerate(row):
            grid[y][x] = c
    for y in range(CARD_TOP, CARD_TOP + CARD_H):
        for x in range(CARD_LEFT, CARD_LEFT + CARD_W):
            edge = y in (CARD_TOP, CARD_TOP + CARD_H - 1) or x in (CARD_LEFT, CARD_LEFT + CARD_W - 1)
            inner = CARD_TOP + 2 <= y < CARD_TOP + CARD_H - 2 and CARD_LEFT + 2 <= x < CARD_LEFT + CARD_W - 2
            if edge:
                grid[y][x] = '#'
            elif inner:
                # Ordered dither of a left-to-right ramp, black to white.
                t = (x - CARD_LEFT - 2) / (CARD_W - 5)
                bayer = [[0, 2], [3, 1]][y % 2][x % 2] / 4 + 0.125
                grid[y][x] = 'o' if t > bayer else '#'
            else:
                grid[y][x] = 'o'
    return grid


def cursor_bytes(grid, hot_x=0, hot_y=0):
    def rows(bit):
        out = b''
        for y in reversed(range(SIZE)):  # bottom-up
            line = 0
            for x in range(SIZE):
                if bit(grid[y][x]):
                    line |= 1 << (SIZE - 1 - x)
            out += struct.pack('>I', line)
        return out
    xor = rows(lambda c: c == 'o')
    and_mask = rows(lambda c: c == '.')
    info = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, 1, 0, len(xor) + len(and_mask), 0, 0, 2, 0)
    palette = struct.pack('<II', 0x000000, 0xFFFFFF)
    image = info + palette + xor + and_mask
    header = struct.pack('<HHH', 0, 2, 1)
    entry = struct.pack('<BBBBHHII', SIZE, SIZE, 0, 0, hot_x, hot_y, len(image), 6 + 16)
    return header + entry + image


def png(grid, scale=8):
    colours = {'#': (0, 0, 0), 'o': (255, 255, 255), '.': (128, 128, 160)}
    raw = b''
    for y in range(SIZE * scale):
        raw += b'\0' + b''.join(bytes(colours[grid[y // scale][x // scale]]) for x in range(SIZE * scale))

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', SIZE * scale, SIZE * scale, 8, 2, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(raw)) + chunk(b'IEND', b''))


if __name__ == '__main__':
    grid = picture()
    with open('fountain_drag.cur', 'wb') as f:
        f.write(cursor_bytes(grid))
    if len(sys.argv) == 3 and sys.argv[1] == '--png':
        with open(sys.argv[2], 'wb') as f:
            f.write(png(grid))
