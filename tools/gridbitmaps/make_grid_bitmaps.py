#!/usr/bin/env python3
"""Draws the data-aware grids' fourteen bitmaps as 24-bit .bmp files.

    python3 tools/gridbitmaps/make_grid_bitmaps.py resources/dbgrids

Glyphs of data cells (olive $008080 is their transparent colour):
  UxDBGridBLOB      a page of binary digits      UxDBGridMEMO   a page of text lines
  UxDBGridPICT      a framed landscape           UxDBGridOLE    two linked frames
  UxDBGridOBJECT    a cube                       UxDBGridDATA   a small table
  UxDBGridNOTEMPTY  a filled square              UxDBGridCHECKED / UNCHECKED  check boxes
Sort markers (magenta $FF00FF transparent): UxDBGridSMDOWN, UxDBGridSMUP.
Title arrow (white transparent): UxDBGridPOPUP.
Multi-selection marks (white transparent): UxDBGridMSDOT, UxDBGridMSARROW.
"""
import os
import struct
import sys

OLIVE = (128, 128, 0)
MAGENTA = (255, 0, 255)
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
GREY = (128, 128, 128)
DARK = (64, 64, 64)
BLUE = (0, 0, 160)
GREEN = (0, 128, 0)
YELLOW = (255, 224, 0)


def image(w, h, bg):
    return [[bg] * w for _ in range(h)]


def rect(img, x0, y0, x1, y1, c, fill=None):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            edge = x in (x0, x1) or y in (y0, y1)
            if edge:
                img[y][x] = c
            elif fill is not None:
                img[y][x] = fill


def hline(img, x0, x1, y, c):
    for x in range(x0, x1 + 1):
        img[y][x] = c


def write_bmp(path, img):
    h, w = len(img), len(img[0])
    row = (w * 3 + 3) & ~3
    data = bytearray()
    for y in range(h - 1, -1, -1):
        line = bytearray()
        for (r, g, b) in img[y]:
            line += bytes((b, g, r))
        line += b"\0" * (row - w * 3)
        data += line
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


def page(bg):
    img = image(16, 16, bg)
    rect(img, 3, 1, 12, 14, BLACK, WHITE)
    return img


def blob():
    img = page(OLIVE)
    for i, y in enumerate((3, 6, 9, 12)):
        for j, x in enumerate((5, 7, 9)):
            if (i + j) % 2 == 0:
                rect(img, x, y, x, y + 1, BLACK)
            else:
                rect(img, x, y, x + 1, y + 1, BLACK)
    return img


def memo():
    img = page(OLIVE)
    for y in (3, 5, 7, 9, 11):
        hline(img, 5, 10 if y != 11 else 8, y, DARK)
    return img


def pict():
    img = image(16, 16, OLIVE)
    rect(img, 1, 2, 14, 13, BLACK, (160, 208, 255))
    rect(img, 10, 4, 11, 5, YELLOW, YELLOW)
    # A hill peaking at x = 6.
    for x in range(2, 14):
        top = 8 + min(abs(x - 6), 4)
        for y in range(top, 13):
            img[y][x] = GREEN
    return img


def ole():
    img = image(16, 16, OLIVE)
    rect(img, 1, 1, 8, 8, BLACK, WHITE)
    rect(img, 7, 7, 14, 14, BLACK, (192, 192, 192))
    return img


def obj():
    img = image(16, 16, OLIVE)
    rect(img, 2, 5, 10, 13, BLACK, (200, 200, 255))
    for i in range(4):
        img[5 - i - 1][3 + i] = BLACK
        img[13 - i - 1][11 + i] = BLACK
    hline(img, 6, 14, 1, BLACK)
    for y in range(1, 10):
        img[y][14] = BLACK
    return img


def data():
    img = image(16, 16, OLIVE)
    rect(img, 1, 2, 14, 13, BLACK, WHITE)
    hline(img, 1, 14, 5, BLACK)
    hline(img, 1, 14, 9, BLACK)
    for y in range(2, 14):
        img[y][6] = BLACK
    rect(img, 2, 3, 13, 4, BLUE, BLUE)
    return img


def notempty():
    img = image(8, 8, OLIVE)
    rect(img, 2, 2, 5, 5, BLACK, BLACK)
    return img


def checkbox(checked):
    img = image(13, 13, OLIVE)
    rect(img, 0, 0, 12, 12, GREY, WHITE)
    if checked:
        ticks = [(3, 6), (4, 7), (5, 8), (6, 7), (7, 6), (8, 5), (9, 4)]
        for (x, y) in ticks:
            for dy in range(3):
                img[y + dy - 1][x] = BLACK
    return img


def marker(up):
    img = image(8, 5, MAGENTA)
    for row in range(4):
        y = row if not up else 3 - row
        hline(img, row, 6 - row, y + 0, DARK)
    return img


def popup():
    img = image(9, 9, WHITE)
    for row in range(4):
        hline(img, 1 + row, 7 - row, 3 + row, BLACK)
    return img


def msdot():
    img = image(8, 8, WHITE)
    rect(img, 2, 2, 5, 5, BLACK, BLACK)
    return img


def msarrow():
    img = image(8, 8, WHITE)
    # A right-pointing triangle.
    for i in range(4):
        for y in range(i, 8 - i):
            img[y][2 + i] = BLACK
    return img


BITMAPS = {
    "UxDBGridBLOB": blob, "UxDBGridMEMO": memo, "UxDBGridPICT": pict, "UxDBGridOLE": ole,
    "UxDBGridOBJECT": obj, "UxDBGridDATA": data, "UxDBGridNOTEMPTY": notempty,
    "UxDBGridSMDOWN": lambda: marker(False), "UxDBGridSMUP": lambda: marker(True),
    "UxDBGridCHECKED": lambda: checkbox(True), "UxDBGridUNCHECKED": lambda: checkbox(False),
    "UxDBGridPOPUP": popup, "UxDBGridMSDOT": msdot, "UxDBGridMSARROW": msarrow,
}


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "."
    os.makedirs(out, exist_ok=True)
    for name, draw in BITMAPS.items():
        write_bmp(os.path.join(out, name.lower() + ".bmp"), draw())


if __name__ == "__main__":
    main()
