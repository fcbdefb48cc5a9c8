#!/usr/bin/env python3
"""Draws the toolbar's pictures and the program icon into resources/.

Writes the 21 button and background bitmaps (ids 102-126, uncompressed 24-bit
BMP), the program icon as PNGs for the hicolor theme (16, 32, 48, 64, 96, 256)
and as one .ico holding those and the sizes Windows asks for at 125 % and
150 % (20, 24, 40), each drawn at its own size rather than resized. Python 3 standard library only; the output is
committed, so run this only after changing a picture:

    tools/make_images.py [resources-folder]
"""

import math
import struct
import sys
import zlib
from pathlib import Path

# Colours (red, green, blue).
WHITE = (255, 255, 255)
GREY_NORMAL = (180, 180, 180)
PINK_HOVER = (242, 158, 180)
PINK_PRESSED = (237, 114, 132)
GREY_DISABLED_BG = (205, 205, 205)
GREY_DISABLED_GLYPH = (235, 235, 235)
TITLE_PINK = (248, 159, 182)
TITLE_HOVER = (238, 115, 134)
TITLE_PRESSED = (233, 74, 99)
BODY = (250, 247, 248)

SUPERSAMPLE = 4


class Canvas:
    def __init__(self, width, height, colour):
        self.width = width
        self.height = height
        self.pixels = [[tuple(colour) + (255,) for _ in range(width)] for _ in range(height)]

    def fill(self, inside, colour, box=None):
        """Paints `colour` where inside(x, y) holds, x and y in pixels, with
        antialiased edges; `box` (x0, y0, x1, y1) limits the work."""
        x0, y0, x1, y1 = box or (0, 0, self.width, self.height)
        x0, y0 = max(0, int(x0)), max(0, int(y0))
        x1, y1 = min(self.width, int(math.ceil(x1))), min(self.height, int(math.ceil(y1)))
        n = SUPERSAMPLE
        for py in range(y0, y1):
            for px in range(x0, x1):
                hits = 0
                for sy in range(n):
                    for sx in range(n):
                        if inside(px + (sx + 0.5) / n, py + (sy + 0.5) / n):
                            hits += 1
                if hits:
                    self.blend(px, py, colour, hits / (n * n))

    def blend(self, x, y, colour, cover):
        r, g, b, a = self.pixels[y][x]
        alpha = colour[3] / 255 if len(colour) == 4 else 1.0
        c = cover * alpha
        out_a = c + (a / 255) * (1 - c)
        if out_a <= 0:
            self.pixels[y][x] = (0, 0, 0, 0)
            return
        mix = [(colour[i] * c + (r, g, b)[i] * (a / 255) * (1 - c)) / out_a for i in range(3)]
        self.pixels[y][x] = (round(mix[0]), round(mix[1]), round(mix[2]), round(out_a * 255))


# Shapes in a design box: each returns a predicate over pixel coordinates,
# given the scale and offset of the design box on the canvas.
def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r_out, r_in):
    return lambda x, y: r_in * r_in <= (x - cx) ** 2 + (y - cy) ** 2 <= r_out * r_out


def polygon(points):
    def inside(x, y):
        hit = False
        j = len(points) - 1
        for i, (xi, yi) in enumerate(points):
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                hit = not hit
            j = i
        return hit
    return inside


def segment(ax, ay, bx, by, width):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
        px, py = ax + t * dx, ay + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= (width / 2) ** 2
    return inside


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def minus(shape, *holes):
    return lambda x, y: shape(x, y) and not any(h(x, y) for h in holes)


def scaled(shape, scale, ox=0.0, oy=0.0):
    return lambda x, y: shape((x - ox) / scale, (y - oy) / scale)


# Glyphs on a 48 x 48 design box.
def glyph_usb_plug():
    head = minus(rect(17, 6, 31, 19), rect(20, 9, 23, 13), rect(25, 9, 28, 13))
    body = polygon([(14, 19), (34, 19), (34, 27), (30, 32), (18, 32), (14, 27)])
    cable = rect(22, 32, 26, 43)
    return union(head, body, cable)


def glyph_feed():
    arrow = polygon([(8, 14), (17, 7), (17, 11.5), (27, 11.5), (27, 16.5), (17, 16.5), (17, 21)])
    bars = union(rect(30, 8, 33, 20), rect(36, 8, 39, 20))
    square = minus(rect(13, 25, 35, 42), rect(16, 28, 32, 39))
    return union(arrow, bars, square)


def glyph_folder():
    back = polygon([(8, 13), (19, 13), (22, 16), (36, 16), (36, 21), (14, 21), (8, 33)])
    front = polygon([(15, 23), (41, 23), (34, 37), (8, 37)])
    return union(back, front)


def glyph_settings():
    sheet = minus(polygon([(10, 6), (27, 6), (33, 12), (33, 40), (10, 40)]),
                  polygon([(26.5, 7.5), (31.5, 12.5), (26.5, 12.5)]))
    lines = union(rect(14, 16, 28, 18), rect(14, 21, 25, 23), rect(14, 26, 21, 28))
    cx, cy = 32.0, 33.0
    teeth = [segment(cx, cy, cx + 10 * math.cos(a), cy + 10 * math.sin(a), 4)
             for a in (i * math.pi / 4 for i in range(8))]
    gear = minus(union(circle(cx, cy, 7.5), *teeth), circle(cx, cy, 3))
    clearance = union(circle(cx, cy, 12), *[segment(cx, cy, cx + 12 * math.cos(a), cy + 12 * math.sin(a), 7)
                                             for a in (i * math.pi / 4 for i in range(8))])
    return union(minus(union(sheet, lines), clearance), gear)


# Glyphs of the 25 x 14 title-strip buttons, in their own pixels.
def glyph_question():
    arc = lambda x, y: (2.0 <= math.hypot(x - 12.5, y - 4.6) <= 3.7) and not (x < 12.5 and y > 4.6)
    stem = rect(11.6, 6.8, 13.4, 9.4)
    dot = rect(11.6, 10.4, 13.4, 12.2)
    return union(arc, stem, dot)


def glyph_cross():
    return union(segment(9, 3, 16, 10, 1.9), segment(16, 3, 9, 10, 1.9))


def large_button(glyph, background, colour):
    c = Canvas(48, 48, background)
    c.fill(glyph, colour)
    return c


def small_button(glyph, background):
    c = Canvas(25, 14, background)
    c.fill(glyph, WHITE)
    return c


# A 5 x 7 pixel font for the title strip's caption.
FONT = {
    "T": ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "V": ["10001", "10001", "10001", "10001", "10001", "01010", "00100"],
    "L": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    "I": ["01110", "00100", "00100", "00100", "00100", "00100", "01110"],
    "X": ["10001", "10001", "01010", "00100", "01010", "10001", "10001"],
    "C": ["01110", "10001", "10000", "10000", "10000", "10001", "01110"],
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "N": ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    " ": ["000", "000", "000", "000", "000", "000", "000"],
}


def draw_text(canvas, text, x, y, colour):
    for ch in text:
        rows = FONT[ch]
        for dy, row in enumerate(rows):
            for dx, bit in enumerate(row):
                if bit == "1":
                    canvas.blend(x + dx, y + dy, colour, 1.0)
        x += len(rows[0]) + 1


def background():
    c = Canvas(217, 80, BODY)
    c.fill(rect(0, 0, 217, 16), TITLE_PINK)
    draw_text(c, "TAVLIX CONNECT", 6, 4, WHITE)
    # A fine frame so that the borderless window stands out on a white desktop.
    c.fill(union(rect(0, 16, 1, 80), rect(216, 16, 217, 80), rect(0, 79, 217, 80)), TITLE_PINK)
    return c


def program_icon(size):
    c = Canvas(size, size, (0, 0, 0))
    c.pixels = [[(0, 0, 0, 0)] * size for _ in range(size)]
    s = size / 48.0
    r = 9
    tile = union(rect(r, 1, 48 - r, 47), rect(1, r, 47, 48 - r), circle(r, r, r - 1), circle(48 - r, r, r - 1),
                 circle(r, 48 - r, r - 1), circle(48 - r, 48 - r, r - 1))
    c.fill(scaled(tile, s), TITLE_PINK + (255,))
    board = minus(rect(9, 10, 39, 31), rect(12, 13, 36, 28))
    legs = union(segment(16, 31, 12, 40, 3), segment(32, 31, 36, 40, 3))
    writing = union(segment(16, 22, 21, 17, 2.2), segment(21, 17, 25, 22, 2.2), segment(25, 22, 31, 16, 2.2))
    c.fill(scaled(union(board, legs), s), WHITE + (255,))
    c.fill(scaled(writing, s), PINK_PRESSED + (255,))
    return c


def bmp_bytes(canvas):
    row_size = (canvas.width * 3 + 3) & ~3
    data = bytearray()
    for y in range(canvas.height - 1, -1, -1):
        row = bytearray()
        for r, g, b, _ in canvas.pixels[y]:
            row += bytes((b, g, r))
        row += b"\0" * (row_size - len(row))
        data += row
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return header + info + bytes(data)


def png_bytes(canvas):
    raw = bytearray()
    for row in canvas.pixels:
        raw.append(0)
        for px in row:
            raw += bytes(px)

    def chunk(kind, payload):
        body = kind + payload
        return struct.pack(">I", len(payload)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    ihdr = struct.pack(">IIBBBBB", canvas.width, canvas.height, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(
        b"IEND", b"")


def ico_bytes(images):
    """An icon file holding one PNG-coded image per size."""
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, blobs = b"", b""
    for size, blob in images:
        dim = 0 if size >= 256 else size
        entries += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
        blobs += blob
    return header + entries + blobs


LARGE = {  # id: (glyph, background, glyph colour)
    110: (glyph_usb_plug, PINK_PRESSED, WHITE), 111: (glyph_usb_plug, PINK_HOVER, WHITE),
    112: (glyph_usb_plug, GREY_DISABLED_BG, GREY_DISABLED_GLYPH), 113: (glyph_usb_plug, GREY_NORMAL, WHITE),
    114: (glyph_feed, PINK_PRESSED, WHITE), 115: (glyph_feed, PINK_HOVER, WHITE),
    116: (glyph_feed, GREY_DISABLED_BG, GREY_DISABLED_GLYPH), 117: (glyph_feed, GREY_NORMAL, WHITE),
    118: (glyph_folder, PINK_PRESSED, WHITE), 119: (glyph_folder, PINK_HOVER, WHITE),
    121: (glyph_folder, GREY_NORMAL, WHITE),
    122: (glyph_settings, PINK_PRESSED, WHITE), 123: (glyph_settings, PINK_HOVER, WHITE),
    125: (glyph_settings, GREY_NORMAL, WHITE),
}
SMALL = {  # id: (glyph, background)
    102: (glyph_cross, TITLE_PINK), 103: (glyph_cross, TITLE_PRESSED), 104: (glyph_cross, TITLE_HOVER),
    106: (glyph_question, TITLE_PINK), 107: (glyph_question, TITLE_PRESSED), 108: (glyph_question, TITLE_HOVER),
}
ICON_SIZES = (16, 32, 48, 64, 96, 256)  # also the hicolor theme's PNGs
# The small and large icon at 100 %, 125 %, 150 % and 200 % (16/32, 20/40,
# 24/48, 32/64), and the larger views of the shell.
ICO_SIZES = (16, 20, 24, 32, 40, 48, 64, 96, 256)


def main():
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "resources"
    (out / "bitmaps").mkdir(parents=True, exist_ok=True)
    (out / "icons").mkdir(parents=True, exist_ok=True)
    for ident, (glyph, bg, colour) in LARGE.items():
        (out / "bitmaps" / f"{ident}.bmp").write_bytes(bmp_bytes(large_button(glyph(), bg, colour)))
    for ident, (glyph, bg) in SMALL.items():
        (out / "bitmaps" / f"{ident}.bmp").write_bytes(bmp_bytes(small_button(glyph(), bg)))
    (out / "bitmaps" / "126.bmp").write_bytes(bmp_bytes(background()))
    pngs = []
    for size in ICO_SIZES:
        blob = png_bytes(program_icon(size))
        if size in ICON_SIZES:
            (out / "icons" / f"tavlixconnect-{size}.png").write_bytes(blob)
        pngs.append((size, blob))
    (out / "icons" / "tavlixconnect.ico").write_bytes(ico_bytes(pngs))


if __name__ == "__main__":
    main()
