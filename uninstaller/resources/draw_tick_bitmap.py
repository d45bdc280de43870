#!/usr/bin/env python3
"""Draws the removal page's progress ticks: ticks.bmp, three 16 x 16 images
side by side on magenta (transparent to the image list): 0 grey (pending),
1 green (done), 2 red (running).

    draw_tick_bitmap.py [output directory]
"""
import sys
from pathlib import Path

from draw_printer_bitmaps import MAGENTA, write_bmp

SIZE = 16
COLOURS = [(128, 128, 128), (0, 160, 0), (208, 0, 0)]
OUTLINE = (0, 0, 0)


def on_tick(x, y):
    """Whether the pixel lies on a check mark three pixels thick."""
    # The short stroke falls from (3, 8) to (6, 11), the long one rises
    # from there to (13, 4).
    if 3 <= x <= 6:
        return 0 <= y - (x + 5) <= 2
    if 6 < x <= 13:
        return 0 <= y - (17 - x) <= 2
    return False


def tick(colour):
    rows = [[MAGENTA] * SIZE for _ in range(SIZE)]
    for y in range(SIZE):
        for x in range(SIZE):
            if on_tick(x, y):
                rows[y][x] = colour
            elif any(on_tick(x + dx, y + dy) for dx in (-1, 0, 1) for dy in (-1, 0, 1)):
                rows[y][x] = OUTLINE
    return rows


def main():
    out = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).parent)
    images = [tick(colour) for colour in COLOURS]
    rows = [sum((image[y] for image in images), []) for y in range(SIZE)]
    write_bmp(out / "ticks.bmp", rows)


if __name__ == "__main__":
    main()
