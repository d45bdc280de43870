#!/usr/bin/env python3
"""Draws the selection page's printer images: printers_small.bmp (8 images of
18 x 18) and printers_large.bmp (8 images of 32 x 32), side by side, on
magenta, which the image lists take as transparent.

Image i is the sum of 1 (the default printer: a black check mark), 2 (a
connection: a network cable below) and 4 (a masked printer: a violet mask
over the paper).

    draw_printer_bitmaps.py [output directory]
"""
import struct
import sys
from pathlib import Path

MAGENTA = (255, 0, 255)
BODY = (192, 192, 192)
SHADE = (128, 128, 128)
OUTLINE = (0, 0, 0)
PAPER = (255, 255, 255)
TRAY = (64, 64, 64)
LIGHT = (0, 160, 0)
CHECK = (0, 0, 0)
CABLE = (0, 64, 192)
MASK = (128, 0, 160)


def printer(size):
    """One printer, as rows of pixels (top row first)."""
    s = size / 32.0
    px = [[MAGENTA] * size for _ in range(size)]

    def rect(x0, y0, x1, y1, colour):
        for y in range(int(y0 * s), max(int(y1 * s), int(y0 * s) + 1)):
            for x in range(int(x0 * s), max(int(x1 * s), int(x0 * s) + 1)):
                if 0 <= x < size and 0 <= y < size:
                    px[y][x] = colour

    rect(8, 2, 24, 12, OUTLINE)      # paper sheet going in
    rect(9, 3, 23, 12, PAPER)
    rect(2, 11, 30, 24, OUTLINE)     # body
    rect(3, 12, 29, 23, BODY)
    rect(3, 20, 29, 23, SHADE)
    rect(24, 14, 27, 16, LIGHT)      # power light
    rect(7, 22, 25, 26, OUTLINE)     # paper coming out
    rect(8, 22, 24, 25, PAPER)
    rect(6, 17, 20, 18, TRAY)        # slot
    return px


def overlay(px, index, size):
    s = size / 32.0

    def dot(x, y, colour, w=1.0):
        for dy in range(max(1, round(w * s))):
            for dx in range(max(1, round(w * s))):
                xx, yy = int(x * s) + dx, int(y * s) + dy
                if 0 <= xx < size and 0 <= yy < size:
                    px[yy][xx] = colour

    if index & 4:  # masked printer: a mask with two eye holes over the paper
        for x in range(9, 23):
            for y in range(4, 10):
                dot(x, y, MASK)
        for ex in (11, 18):
            for x in range(ex, ex + 3):
                for y in range(6, 8):
                    dot(x, y, PAPER)
    if index & 2:  # connection: a cable from the printer into a network box
        for y in range(24, 31):
            dot(15, y, CABLE, 2)
        for x in range(8, 24):
            dot(x, 29, CABLE, 2)
    if index & 1:  # default printer: a check mark at the lower left
        path = [(1, 22), (2, 23), (3, 24), (4, 25), (5, 26), (6, 25), (7, 24), (8, 23),
                (9, 22), (10, 21), (11, 20), (12, 19), (13, 18)]
        for x, y in path:
            dot(x, y + 3, PAPER, 3)
        for x, y in path:
            dot(x, y + 3, CHECK, 2)


def strip(size):
    images = []
    for index in range(8):
        px = printer(size)
        overlay(px, index, size)
        images.append(px)
    return [sum((images[i][y] for i in range(8)), []) for y in range(size)]


def write_bmp(path, rows):
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):  # bottom-up
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        pixels += line
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    Path(path).write_bytes(header + info + pixels)


if __name__ == "__main__":
    out = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).parent)
    write_bmp(out / "printers_small.bmp", strip(18))
    write_bmp(out / "printers_large.bmp", strip(32))
