#!/usr/bin/env python3
"""Draws the chart's four mouse cursors as 32 x 32 .cur files.

    python3 tools/cursors/make_cursors.py resources/cursors

CURHAND  an open hand (panning), hot spot in the palm
CURZOOMW a magnifier with a small frame (zooming into a window)
CURZOOMD a magnifier with up and down arrows (zooming by dragging)
CURZOOMP a magnifier with a plus (zooming around a position)
The magnifiers' hot spot is the centre of the lens.  Black outlines on
white fills, the rest transparent.
"""
import math
import os
import struct
import sys

N = 32
TRANSPARENT, BLACK, WHITE = 0, 1, 2


def blank():
    return [[TRANSPARENT] * N for _ in range(N)]


def put(img, x, y, c):
    if 0 <= x < N and 0 <= y < N:
        img[y][x] = c


def magnifier(img):
    cx, cy, r = 12, 12, 9
    for y in range(N):
        for x in range(N):
            d = math.hypot(x - cx, y - cy)
            if d <= r - 1.5:
                put(img, x, y, WHITE)
            elif d <= r + 0.5:
                put(img, x, y, BLACK)
    # The handle, three pixels thick, from the lens to the corner.
    for t in range(19, 30):
        for w in (-1, 0, 1):
            put(img, t + w, t, BLACK)
            put(img, t, t + w, BLACK)


def hand():
    art = [
        "................",
        "......##........",
        ".....#..###.....",
        ".....#..#..##...",
        ".....#..#..#.#..",
        "..##.#..#..#..#.",
        ".#..##..#..#..#.",
        ".#...#........#.",
        "..#...........#.",
        "...#..........#.",
        "...#.........#..",
        "....#........#..",
        "....#.......#...",
        ".....#......#...",
        ".....#......#...",
        "................",
    ]
    img = blank()
    for y, row in enumerate(art):
        for x, ch in enumerate(row):
            if ch == "#":
                for dy in (0, 1):
                    for dx in (0, 1):
                        put(img, 2 * x + dx, 2 * y + dy, BLACK)
    # Fill the inside of the outline from the palm.
    stack = [(16, 20)]
    while stack:
        x, y = stack.pop()
        if 0 <= x < N and 0 <= y < N and img[y][x] == TRANSPARENT:
            img[y][x] = WHITE
            stack += [(x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)]
    return img, (16, 16)


def zoom_window():
    img = blank()
    magnifier(img)
    for x in range(8, 17):
        put(img, x, 9, BLACK)
        put(img, x, 15, BLACK)
    for y in range(9, 16):
        put(img, 8, y, BLACK)
        put(img, 16, y, BLACK)
    return img, (12, 12)


def zoom_drag():
    img = blank()
    magnifier(img)
    for y in range(6, 19):
        put(img, 12, y, BLACK)
    for k in range(1, 4):
        for x in (12 - k, 12 + k):
            put(img, x, 6 + k, BLACK)
            put(img, x, 18 - k, BLACK)
    return img, (12, 12)


def zoom_position():
    img = blank()
    magnifier(img)
    for t in range(8, 17):
        for w in (0, 1):
            put(img, t, 12 - w + 1 - 1, BLACK)
            put(img, 12 - w + 1 - 1, t, BLACK)
    return img, (12, 12)


def cur_bytes(img, hot):
    """A .cur file: one 32 x 32 image, 32-bit colour plus the AND mask."""
    xor = bytearray()
    for y in reversed(range(N)):
        for x in range(N):
            c = img[y][x]
            if c == BLACK:
                xor += bytes((0, 0, 0, 255))
            elif c == WHITE:
                xor += bytes((255, 255, 255, 255))
            else:
                xor += bytes((0, 0, 0, 0))
    mask = bytearray()
    for y in reversed(range(N)):
        bits = 0
        for x in range(N):
            bits = (bits << 1) | (1 if img[y][x] == TRANSPARENT else 0)
        mask += struct.pack(">I", bits)
    header = struct.pack("<IiiHHIIiiII", 40, N, 2 * N, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    dib = header + xor + mask
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", N, N, 0, 0, hot[0], hot[1], len(dib), 6 + 16)
    return directory + entry + dib


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "."
    os.makedirs(out, exist_ok=True)
    for name, (img, hot) in {
        "CURHAND": hand(),
        "CURZOOMW": zoom_window(),
        "CURZOOMD": zoom_drag(),
        "CURZOOMP": zoom_position(),
    }.items():
        with open(os.path.join(out, name.lower() + ".cur"), "wb") as f:
            f.write(cur_bytes(img, hot))


if __name__ == "__main__":
    main()
