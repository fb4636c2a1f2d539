#!/usr/bin/env python3
"""Draws Korimo's icon (the shapes of korimo.svg) into PNG files.

One chart patch split into a reference half and a measured half, with the
difference sign over the seam. Standard library only; rerun with
`python3 packaging/make-icon.py` after changing the shapes.
"""
import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
OUTLINE = (0x3C, 0x3C, 0x3C)
PAPER = (0xF4, 0xF4, 0xF4)
UPPER = (0xD8, 0x46, 0x3C)
LOWER = (0xE8, 0x74, 0x3A)
SIGN = (0x1E, 0x3A, 0x78)
WHITE = (0xFF, 0xFF, 0xFF)
TRIANGLE = [(64, 38), (90, 88), (38, 88)]


def in_round_rect(x, y, x0, y0, x1, y1, r):
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def dist_to_segment(px, py, a, b):
    ax, ay = a
    bx, by = b
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def colour_at(x, y):
    """Colour and coverage at a point of the 128 x 128 design."""
    if not in_round_rect(x, y, 6, 6, 122, 122, 16):
        return None
    colour = OUTLINE if not in_round_rect(x, y, 10, 10, 118, 118, 12) else PAPER
    if 18.5 <= x <= 109.5 and 18.5 <= y <= 109.5:
        colour = OUTLINE
        if 21.5 <= x <= 106.5 and 21.5 <= y <= 106.5:
            colour = UPPER if y < 64 else LOWER
    edges = min(dist_to_segment(x, y, TRIANGLE[i], TRIANGLE[(i + 1) % 3]) for i in range(3))
    if edges <= 3.5:
        colour = WHITE
    if edges <= 1.75:
        colour = SIGN
    return colour


def render(size, samples=4):
    rows = []
    scale = 128.0 / size
    for j in range(size):
        row = bytearray([0])  # filter type 0
        for i in range(size):
            acc = [0, 0, 0, 0]
            for sj in range(samples):
                for si in range(samples):
                    x = (i + (si + 0.5) / samples) * scale
                    y = (j + (sj + 0.5) / samples) * scale
                    c = colour_at(x, y)
                    if c:
                        acc[0] += c[0]
                        acc[1] += c[1]
                        acc[2] += c[2]
                        acc[3] += 1
            n = samples * samples
            if acc[3]:
                row += bytes([acc[0] // acc[3], acc[1] // acc[3], acc[2] // acc[3], 255 * acc[3] // n])
            else:
                row += bytes([0, 0, 0, 0])
        rows.append(bytes(row))
    return rows


def write_png(path, size):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    raw = b"".join(render(size))
    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


if __name__ == "__main__":
    for size in (48, 128):
        write_png(os.path.join(HERE, f"korimo-{size}.png"), size)
