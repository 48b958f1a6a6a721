#!/usr/bin/env python3
"""Draws the string grid's cell-control bitmaps as 24-bit .bmp files.

    python3 tools/gridbitmaps/make_grid_look_bitmaps.py resources/grid

Magenta $FF00FF is the transparent colour of every picture (its corners).
  GRDCHK01-04   20 x 20  KVR-look check box: checked, unchecked, checked disabled, unchecked disabled
  GRDCHK05-08   16 x 16  XP-look check box, same four states
  GRDRAD01-04   16 x 16  KVR-look radio button, same four states
  GRDRAD05-08   16 x 16  XP-look radio button, same four states
  GRDLEAFCLOSE / GRDLEAFOPEN  16 x 16  node button, children hidden / shown
  XPNODEC / XPNODEO           9 x 9    small node box with plus / minus
  GRDFILT 16 x 16 filter funnel; GRDCLOSE, GRDCLOSEH, GRDCLOSED 14 x 14 close cross (normal, hot, down)
  GRDARDOWN(D), GRDARUP(D) 16 x 16 arrows (normal, down); GRDHI(D) 16 x 16 highlight mark
  INTLI1-3 16 x 16 list item marks (a dot, a square, a diamond)
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_grid_bitmaps import image, rect, hline, write_bmp  # noqa: E402

MAGENTA = (255, 0, 255)
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
GREY = (128, 128, 128)
LIGHT = (212, 208, 200)
BLUE = (28, 81, 128)
TICK = (33, 161, 33)
DARKTICK = (0, 0, 0)


def tick(img, x0, y0, c):
    # A tick from (x0, y0+3) down to (x0+2, y0+5) and up to (x0+6, y0+1), two pixels thick.
    pts = [(0, 3), (1, 4), (2, 5), (3, 4), (4, 3), (5, 2), (6, 1)]
    for dx, dy in pts:
        for t in (0, 1):
            img[y0 + dy + t][x0 + dx] = c


def check(size, checked, enabled, border, tick_colour):
    img = image(size, size, MAGENTA)
    o = (size - 13) // 2
    rect(img, o, o, o + 12, o + 12, border if enabled else GREY, WHITE if enabled else LIGHT)
    if checked:
        tick(img, o + 3, o + 2, tick_colour if enabled else GREY)
    return img


def radio(checked, enabled, ring, dot):
    img = image(16, 16, MAGENTA)
    cx, cy = 7.5, 7.5
    for y in range(16):
        for x in range(16):
            d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
            if 5.6 <= d <= 6.6:
                img[y][x] = ring if enabled else GREY
            elif d < 5.6:
                img[y][x] = WHITE if enabled else LIGHT
                if checked and d < 2.6:
                    img[y][x] = dot if enabled else GREY
    return img


def node(size, plus, fill=WHITE):
    img = image(size, size, MAGENTA)
    rect(img, 0, 0, size - 1, size - 1, GREY, fill)
    m = size // 2
    hline(img, 2, size - 3, m, BLACK)
    if plus:
        for y in range(2, size - 2):
            img[y][m] = BLACK
    return img


def leaf(closed):
    img = image(16, 16, MAGENTA)
    # A triangle pointing right (closed) or down (open).
    for i in range(5):
        for j in range(-i, i + 1):
            if closed:
                img[8 + j][10 - i] = BLUE
            else:
                img[10 - i][8 + j] = BLUE
    return img


def funnel():
    img = image(16, 16, MAGENTA)
    for y in range(3, 9):
        hline(img, 2 + (y - 3), 13 - (y - 3), y, BLACK)
    for y in range(9, 14):
        hline(img, 7, 8, y, BLACK)
    return img


def cross(state):
    img = image(14, 14, MAGENTA)
    if state != "n":
        rect(img, 0, 0, 13, 13, BLUE, LIGHT if state == "h" else GREY)
    for i in range(3, 11):
        img[i][i] = BLACK
        img[i][13 - i] = BLACK
        img[i][i + 1 if i < 12 else i] = BLACK
        img[i][12 - i] = BLACK
    return img


def arrow(up, down_state):
    img = image(16, 16, MAGENTA)
    c = BLUE if down_state else BLACK
    for i in range(5):
        y = 5 + i if not up else 10 - i
        hline(img, 3 + i, 12 - i, y, c)
    return img


def highlight(down_state):
    img = image(16, 16, MAGENTA)
    rect(img, 2, 4, 13, 11, BLACK, (255, 255, 0) if not down_state else (255, 200, 0))
    return img


def mark(kind):
    img = image(16, 16, MAGENTA)
    if kind == 1:
        for y in range(16):
            for x in range(16):
                if (x - 7.5) ** 2 + (y - 7.5) ** 2 < 12:
                    img[y][x] = BLUE
    elif kind == 2:
        rect(img, 4, 4, 11, 11, BLUE, BLUE)
    else:
        for i in range(5):
            hline(img, 7 - i, 8 + i, 3 + i, BLUE)
            hline(img, 7 - i, 8 + i, 12 - i, BLUE)
    return img


def main(out):
    os.makedirs(out, exist_ok=True)
    pics = {}
    states = [(True, True), (False, True), (True, False), (False, False)]
    for k, (c, e) in enumerate(states):
        pics["grdchk0%d" % (k + 1)] = check(20, c, e, BLUE, DARKTICK)
        pics["grdchk0%d" % (k + 5)] = check(16, c, e, BLUE, TICK)
        pics["grdrad0%d" % (k + 1)] = radio(c, e, GREY, BLACK)
        pics["grdrad0%d" % (k + 5)] = radio(c, e, BLUE, TICK)
    pics["grdleafclose"] = leaf(True)
    pics["grdleafopen"] = leaf(False)
    pics["xpnodec"] = node(9, True)
    pics["xpnodeo"] = node(9, False)
    pics["grdfilt"] = funnel()
    pics["grdclose"] = cross("n")
    pics["grdcloseh"] = cross("h")
    pics["grdclosed"] = cross("d")
    pics["grdardown"] = arrow(False, False)
    pics["grdardownd"] = arrow(False, True)
    pics["grdarup"] = arrow(True, False)
    pics["grdarupd"] = arrow(True, True)
    pics["grdhi"] = highlight(False)
    pics["grdhid"] = highlight(True)
    for k in (1, 2, 3):
        pics["intli%d" % k] = mark(k)
    for name, img in pics.items():
        write_bmp(os.path.join(out, name + ".bmp"), img)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "resources/grid")
