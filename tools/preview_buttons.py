#!/usr/bin/env python3
"""Draws the report preview's button strip: 25 glyphs of 16 x 16 pixels side
by side in one 400 x 16, 24-bit bitmap, and writes it as one gzip member whose
modification-time field holds the Adler-32 of the bitmap (big-endian bytes),
which is how the report engine turns the member into a zlib stream.

    python3 tools/preview_buttons.py report/res/PreviewButtons.bmp.gz
"""
import struct
import sys
import zlib

W, H, N = 400, 16, 25
BACK = (255, 0, 255)            # transparent colour (bottom-left pixel)
INK, PAPER, BLUE, RED, GREEN, GREY, YELLOW = (0, 0, 0), (255, 255, 255), (0, 64, 192), (200, 0, 0), (0, 128, 0), (128, 128, 128), (240, 200, 0)
px = [[BACK] * W for _ in range(H)]


def put(t, x, y, c):
    if 0 <= x < 16 and 0 <= y < 15:        # row 15 stays background
        px[y][t * 16 + x] = c


def rect(t, x0, y0, x1, y1, c, fill=None):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            edge = x in (x0, x1) or y in (y0, y1)
            if edge:
                put(t, x, y, c)
            elif fill:
                put(t, x, y, fill)


def line(t, x0, y0, x1, y1, c):
    dx, dy = abs(x1 - x0), -abs(y1 - y0)
    sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
    err = dx + dy
    while True:
        put(t, x0, y0, c)
        if x0 == x1 and y0 == y1:
            return
        e2 = 2 * err
        if e2 >= dy:
            err += dy
            x0 += sx
        if e2 <= dx:
            err += dx
            y0 += sy


def tri(t, x, y, size, direction, c):
    """A triangle with its tip at (x, y) pointing left ('l') or right ('r')."""
    for i in range(size):
        for j in range(-i, i + 1):
            put(t, x + i if direction == 'l' else x - i, y + j, c)


def page(t, x0=3, y0=1, x1=12, y1=14):
    rect(t, x0, y0, x1, y1, INK, PAPER)


def lens(t, cx, cy):
    for a in range(-3, 4):
        for b in range(-3, 4):
            if 5 <= a * a + b * b <= 10:
                put(t, cx + a, cy + b, INK)
    line(t, cx + 2, cy + 2, cx + 5, cy + 5, INK)
    line(t, cx + 3, cy + 2, cx + 6, cy + 5, INK)


def glyphs():
    page(0); lens(0, 8, 7)                                          # preview
    rect(1, 4, 1, 11, 5, INK, PAPER); rect(1, 1, 5, 14, 11, INK, GREY); rect(1, 4, 10, 11, 14, INK, PAPER)  # print
    rect(2, 1, 4, 14, 13, INK, YELLOW); rect(2, 1, 2, 6, 4, INK, YELLOW)  # open
    rect(3, 1, 1, 14, 14, INK, BLUE); rect(3, 4, 1, 11, 6, INK, PAPER); rect(3, 4, 9, 11, 14, INK, GREY)  # save
    page(4, 1, 1, 9, 14); line(4, 6, 8, 11, 8, GREEN); tri(4, 14, 8, 4, 'r', GREEN)  # export
    lens(5, 6, 6)                                                   # find
    page(6)                                                         # whole page
    page(7); line(7, 4, 7, 11, 7, BLUE); tri(7, 4, 7, 3, 'l', BLUE); tri(7, 11, 7, 3, 'r', BLUE)  # page width
    page(8); line(8, 8, 4, 8, 11, INK); line(8, 7, 5, 8, 4, INK)    # 100%
    page(9, 0, 2, 7, 13); page(9, 8, 2, 15, 13)                     # two pages
    lens(10, 6, 6); line(10, 4, 6, 8, 6, INK); line(10, 6, 4, 6, 8, INK)  # zoom in
    lens(11, 6, 6); line(11, 4, 6, 8, 6, INK)                       # zoom out
    for y in (2, 6, 10):                                            # outline
        rect(12, 1, y, 3, y + 2, BLUE, BLUE); line(12, 5, y + 1, 14, y + 1, INK)
    for x in (1, 9):                                                # thumbnails
        for y in (1, 8):
            rect(13, x, y, x + 5, y + 5, INK, PAPER)
    line(14, 2, 13, 12, 3, INK); line(14, 3, 13, 13, 3, YELLOW); line(14, 3, 14, 13, 4, INK)  # edit
    line(15, 3, 2, 3, 12, INK); tri(15, 5, 7, 6, 'l', BLUE)        # first
    tri(16, 5, 7, 6, 'l', BLUE)                                    # prior
    tri(17, 10, 7, 6, 'r', BLUE)                                     # next
    tri(18, 10, 7, 6, 'r', BLUE); line(18, 12, 2, 12, 12, INK)       # last
    page(19); rect(19, 6, 6, 9, 9, GREY, GREY)                      # page settings
    for (x, y, dx, dy) in ((1, 1, 1, 1), (14, 1, -1, 1), (1, 13, 1, -1), (14, 13, -1, -1)):  # full screen
        line(20, x, y, x + 3 * dx, y, INK); line(20, x, y, x, y + 3 * dy, INK)
    page(21); rect(21, 1, 8, 14, 12, RED, RED)                      # PDF
    rect(22, 1, 3, 14, 12, INK, PAPER); line(22, 1, 3, 7, 8, INK); line(22, 14, 3, 8, 8, INK)  # e-mail
    line(23, 3, 3, 12, 12, RED); line(23, 4, 3, 12, 11, RED); line(23, 12, 3, 3, 12, RED); line(23, 11, 3, 3, 11, RED)  # close
    rect(24, 5, 2, 10, 2, BLUE); line(24, 10, 3, 10, 6, BLUE); line(24, 8, 7, 9, 7, BLUE); line(24, 8, 8, 8, 9, BLUE); put(24, 8, 12, BLUE)  # help


def bmp():
    row = (W * 3 + 3) & ~3
    data = bytearray()
    for y in range(H - 1, -1, -1):
        line_ = bytearray()
        for (r, g, b) in px[y]:
            line_ += bytes((b, g, r))
        data += line_ + bytes(row - len(line_))
    header = struct.pack('<2sIHHI', b'BM', 54 + len(data), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, W, H, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return header + info + bytes(data)


def gzip_member(content):
    adler = zlib.adler32(content) & 0xFFFFFFFF
    comp = zlib.compressobj(9, zlib.DEFLATED, -15)
    raw = comp.compress(content) + comp.flush()
    # ID1 ID2 CM FLG, MTIME (the Adler-32, big-endian bytes), XFL OS.
    head = bytes((31, 139, 8, 0)) + adler.to_bytes(4, 'big') + bytes((2, 3))
    tail = struct.pack('<II', zlib.crc32(content) & 0xFFFFFFFF, len(content) & 0xFFFFFFFF)
    return head + raw + tail


glyphs()
assert N * 16 == W
with open(sys.argv[1], 'wb') as f:
    f.write(gzip_member(bmp()))
