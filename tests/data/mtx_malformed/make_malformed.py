#!/usr/bin/env python3
"""Writes the malformed tile groups that every tile-group reader must refuse
cleanly (no crash, no allocation from a forged size, nothing changed).

Run from this folder: python3 make_malformed.py
"""
import struct


def header(count, writeable=1, magic=b"QUILMTXf"):
    h = bytearray(1082)
    h[0:8] = magic
    struct.pack_into("<I", h, 8, 0)
    h[12:17] = b"owner"
    struct.pack_into("<IIII", h, 802, 16, 0, 0x61, 0)
    struct.pack_into("<II", h, 818, count, writeable)
    return bytes(h)


def chunk(tag, data, size=None):
    c = bytearray(72)
    c[0:4] = tag
    struct.pack_into("<I", c, 4, len(data) if size is None else size)
    return bytes(c) + data


def bitmap(w, h, bits=24, declared_w=None):
    stride = (bits * w + 31) // 32 * 4
    table = 4 << bits if bits <= 8 else 0
    info = struct.pack("<IiiHHIIiiII", 40, w if declared_w is None else declared_w, h, 1, bits, 0,
                       stride * abs(h), 0, 0, 0, 0)
    return info + bytes(table) + bytes([0x40] * (stride * abs(h)))


TILE = bitmap(2, 2)

FILES = {
    "empty.mtx": b"",
    "short_header.mtx": header(1)[:600],
    "wrong_magic.mtx": header(1, magic=b"QUILMTXF") + chunk(b"MTXi", TILE),
    "truncated_chunk_header.mtx": header(1) + chunk(b"MTXi", TILE)[:40],
    "chunk_past_end.mtx": header(1) + chunk(b"MTXi", TILE, size=len(TILE) + 1),
    "chunk_size_huge.mtx": header(1) + chunk(b"MTXi", TILE, size=0xFFFFFFF0),
    "foreign_chunk_past_end.mtx": header(2) + chunk(b"JUNK", b"abc", size=5000) + chunk(b"MTXi", TILE),
    "count_too_large.mtx": header(0xFFFFFFFF) + chunk(b"MTXi", TILE),
    "count_beyond_chunks.mtx": header(3) + chunk(b"MTXi", TILE),
    "tile_too_short.mtx": header(1) + chunk(b"MTXi", b"\x28\x00\x00\x00"),
    "tile_not_bitmap.mtx": header(1) + chunk(b"MTXi", bytes(range(56))),
    "tile_rows_missing.mtx": header(1) + chunk(b"MTXi", bitmap(2, 2)[:50]),
    "tile_width_forged.mtx": header(1) + chunk(b"MTXi", bitmap(2, 2, declared_w=0x7FFFFFFF)),
    "tile_negative_height.mtx": header(1) + chunk(b"MTXi", bitmap(2, -2)),
    "tile_bad_depth.mtx": header(1) + chunk(b"MTXi", bitmap(2, 2, bits=7)),
}

if __name__ == "__main__":
    for name, data in FILES.items():
        with open(name, "wb") as f:
            f.write(data)
