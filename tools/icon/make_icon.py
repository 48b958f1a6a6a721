#!/usr/bin/env python3
"""Draws the program icon: the Moon's dark disc in front of the Sun, with
the bright inner corona and a fading outer glow, on a transparent ground.

    python3 tools/icon/make_icon.py resources/icons/tolmira-eclipse.png 256

Pure Python (zlib only), so that it runs wherever the build does.  Each
pixel is sampled 4 x 4 times for smooth edges.
"""
import math
import struct
import sys
import zlib


def colour(r, size):
    """RGBA at distance r (pixels) from the centre of a size-pixel icon."""
    R = size / 2.0
    disc = 0.60 * R     # the Moon
    ring = 0.68 * R     # the inner corona's bright edge
    if r <= disc:
        return (18, 24, 44, 255)
    if r <= ring:
        t = (r - disc) / (ring - disc)
        return (255, int(250 - 40 * t), int(235 - 140 * t), 255)
    if r <= R:
        t = (r - ring) / (R - ring)
        a = int(255 * (1 - t) ** 1.6)
        return (255, int(210 - 90 * t), int(95 - 70 * t), a)
    return (0, 0, 0, 0)


def draw(size):
    rows = []
    n = 4
    c = size / 2.0
    for y in range(size):
        row = bytearray([0])   # filter: none
        for x in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(n):
                for sx in range(n):
                    px = x + (sx + 0.5) / n - c
                    py = y + (sy + 0.5) / n - c
                    rgba = colour(math.hypot(px, py), size)
                    a = rgba[3]
                    for i in range(3):
                        acc[i] += rgba[i] * a
                    acc[3] += a
            alpha = acc[3] / (n * n)
            if acc[3] > 0:
                row += bytes(int(round(acc[i] / acc[3])) for i in range(3))
            else:
                row += b"\0\0\0"
            row.append(int(round(alpha)))
        rows.append(bytes(row))
    return b"".join(rows)


def png(size, pixels):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(pixels, 9)) +
            chunk(b"IEND", b""))


def main():
    out = sys.argv[1]
    size = int(sys.argv[2]) if len(sys.argv) > 2 else 256
    with open(out, "wb") as f:
        f.write(png(size, draw(size)))


if __name__ == "__main__":
    main()
