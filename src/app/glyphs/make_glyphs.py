#!/usr/bin/env python3
"""Draws the navigator bar's button glyphs into dbn_*.png beside this script.

Each file is a strip of two 16x16 images: the enabled glyph on the left and
the disabled one (grey, embossed with a white shadow) on the right.  The
images are committed; run this script again only after changing a drawing.
Needs nothing but the standard library.
"""
import math
import os
import struct
import zlib

SIZE = 16
BLACK = (0, 0, 0, 255)
NAVY = (0, 0, 128, 255)
GREEN = (0, 128, 0, 255)
MAROON = (128, 0, 0, 255)
GREY = (128, 128, 128, 255)
WHITE = (255, 255, 255, 255)
CLEAR = (0, 0, 0, 0)


class Canvas:
    def __init__(self):
        self.px = [[CLEAR] * SIZE for _ in range(SIZE)]

    def set(self, x, y, colour):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            self.px[y][x] = colour

    def rect(self, x0, y0, x1, y1, colour):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, colour)

    def triangle_left(self, tip_x, centre_y, half, colour):
        # Tip at (tip_x, centre_y); each row away from the centre starts one
        # pixel further right, so the base is 2*half+1 pixels tall.
        for d in range(-half, half + 1):
            for x in range(tip_x + abs(d), tip_x + half + 1):
                self.set(x, centre_y + d, colour)

    def triangle_right(self, tip_x, centre_y, half, colour):
        for d in range(-half, half + 1):
            for x in range(tip_x - half, tip_x - abs(d) + 1):
                self.set(x, centre_y + d, colour)

    def triangle_up(self, centre_x, tip_y, half, colour):
        for d in range(-half, half + 1):
            for y in range(tip_y + abs(d), tip_y + half + 1):
                self.set(centre_x + d, y, colour)

    def line(self, x0, y0, x1, y1, colour, thick=1):
        steps = max(abs(x1 - x0), abs(y1 - y0))
        for i in range(steps + 1):
            x = round(x0 + (x1 - x0) * i / steps)
            y = round(y0 + (y1 - y0) * i / steps)
            self.rect(x, y, x + thick - 1, y + thick - 1, colour)


def glyph_first(c):
    c.rect(4, 3, 5, 12, BLACK)
    c.triangle_left(6, 7, 5, BLACK)
    c.triangle_left(6, 8, 5, BLACK)


def glyph_prior(c):
    c.triangle_left(5, 7, 5, BLACK)
    c.triangle_left(5, 8, 5, BLACK)


def glyph_next(c):
    c.triangle_right(10, 7, 5, BLACK)
    c.triangle_right(10, 8, 5, BLACK)


def glyph_last(c):
    c.triangle_right(9, 7, 5, BLACK)
    c.triangle_right(9, 8, 5, BLACK)
    c.rect(10, 3, 11, 12, BLACK)


def glyph_insert(c):
    c.rect(7, 3, 8, 12, BLACK)
    c.rect(3, 7, 12, 8, BLACK)


def glyph_delete(c):
    c.rect(3, 7, 12, 8, BLACK)


def glyph_edit(c):
    c.triangle_up(7, 4, 5, BLACK)
    c.triangle_up(8, 4, 5, BLACK)


def glyph_post(c):
    c.line(3, 7, 6, 10, GREEN, thick=2)
    c.line(6, 10, 11, 4, GREEN, thick=2)


def glyph_cancel(c):
    c.line(3, 3, 11, 11, MAROON, thick=2)
    c.line(11, 3, 3, 11, MAROON, thick=2)


def glyph_refresh(c):
    # A ring with a gap at the upper right and an arrow head closing it.
    cx, cy = 7.5, 8.0
    for y in range(SIZE):
        for x in range(SIZE):
            r = math.hypot(x - cx, y - cy)
            angle = math.degrees(math.atan2(cy - y, x - cx)) % 360
            if 3.6 <= r <= 5.4 and not (20 <= angle <= 80):
                c.set(x, y, NAVY)
    # arrow head at the ring's end near the top, pointing right
    for d in range(0, 4):
        c.rect(8 + d, 0 + d, 8 + d, 6 - d, NAVY)


GLYPHS = {
    "dbn_first": glyph_first,
    "dbn_prior": glyph_prior,
    "dbn_next": glyph_next,
    "dbn_last": glyph_last,
    "dbn_insert": glyph_insert,
    "dbn_delete": glyph_delete,
    "dbn_edit": glyph_edit,
    "dbn_post": glyph_post,
    "dbn_cancel": glyph_cancel,
    "dbn_refresh": glyph_refresh,
}


def disabled_of(enabled):
    """Grey shape over a white copy shifted one pixel down and right."""
    out = Canvas()
    for y in range(SIZE):
        for x in range(SIZE):
            if enabled.px[y][x][3]:
                out.set(x + 1, y + 1, WHITE)
    for y in range(SIZE):
        for x in range(SIZE):
            if enabled.px[y][x][3]:
                out.set(x, y, GREY)
    return out


def write_png(path, rows):
    width, height = len(rows[0]), len(rows)
    raw = b"".join(b"\x00" + bytes(v for px in row for v in px) for row in rows)

    def chunk(tag, data):
        body = tag + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for name, draw in GLYPHS.items():
        enabled = Canvas()
        draw(enabled)
        disabled = disabled_of(enabled)
        rows = [enabled.px[y] + disabled.px[y] for y in range(SIZE)]
        write_png(os.path.join(here, name + ".png"), rows)


if __name__ == "__main__":
    main()
