#!/usr/bin/env python3
"""Draws the sample course's pictures into courseware/BMPS as uncompressed BMP files.

    BICYCLE.BMP          a bicycle seen from the side, 8 bits a pixel with a colour table
                         of 16 entries (the header says how many colours it uses)
    MOON1.BMP..MOON8.BMP the moon from new moon through full moon and back, 4 bits a pixel
                         with the full 16-entry colour table (colours used: 0)

The wheel of the first lessons comes from tools/make-sample-picture.py (24 bits a pixel).
Everything is drawn from discs, rings and thick strokes in a palette of our own, so nothing
beyond Python 3 is needed. Run it from anywhere; it rewrites the files it owns:

    python3 tools/make-course-pictures.py
"""

import math
import os
import struct

BMPS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "courseware", "BMPS")


class Canvas:
    """A picture of palette indices; shapes paint the pixels whose centres they cover."""

    def __init__(self, width, height, fill=0):
        self.width = width
        self.height = height
        self.pixels = [fill] * (width * height)

    def paint(self, inside, colour, box):
        x0, y0, x1, y1 = box
        for y in range(max(0, int(y0)), min(self.height, int(math.ceil(y1)) + 1)):
            for x in range(max(0, int(x0)), min(self.width, int(math.ceil(x1)) + 1)):
                if inside(x + 0.5, y + 0.5):
                    self.pixels[y * self.width + x] = colour

    def rect(self, x0, y0, x1, y1, colour):
        self.paint(lambda x, y: x0 <= x < x1 and y0 <= y < y1, colour, (x0, y0, x1, y1))

    def disc(self, cx, cy, r, colour):
        self.paint(lambda x, y: math.hypot(x - cx, y - cy) <= r, colour,
                   (cx - r, cy - r, cx + r, cy + r))

    def ring(self, cx, cy, r_out, r_in, colour):
        self.paint(lambda x, y: r_in <= math.hypot(x - cx, y - cy) <= r_out, colour,
                   (cx - r_out, cy - r_out, cx + r_out, cy + r_out))

    def stroke(self, ax, ay, bx, by, width, colour):
        half = width / 2.0
        dx, dy = bx - ax, by - ay
        length2 = dx * dx + dy * dy or 1.0

        def inside(x, y):
            t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
            return math.hypot(x - (ax + t * dx), y - (ay + t * dy)) <= half

        self.paint(inside, colour, (min(ax, bx) - half, min(ay, by) - half,
                                    max(ax, bx) + half, max(ay, by) + half))

    def write_bmp(self, path, bits, palette, colours_used):
        """Writes the picture bottom-up, rows padded to four bytes, with the colour table."""
        row_bytes = (self.width * bits + 31) // 32 * 4
        rows = []
        for y in range(self.height - 1, -1, -1):
            line = self.pixels[y * self.width:(y + 1) * self.width]
            if bits == 8:
                row = bytearray(line)
            else:  # 4 bits: two pixels a byte, the left one in the high half
                row = bytearray()
                for i in range(0, len(line), 2):
                    right = line[i + 1] if i + 1 < len(line) else 0
                    row.append(line[i] << 4 | right)
            row += b"\0" * (row_bytes - len(row))
            rows.append(bytes(row))
        image = b"".join(rows)
        table_entries = colours_used or (1 << bits)
        table = b"".join(bytes((b, g, r, 0)) for r, g, b in
                         (palette + [(0, 0, 0)] * table_entries)[:table_entries])
        offset = 14 + 40 + len(table)
        header = struct.pack("<2sIHHI", b"BM", offset + len(image), 0, 0, offset)
        info = struct.pack("<IiiHHIIiiII", 40, self.width, self.height, 1, bits, 0, len(image),
                           2835, 2835, colours_used, 0)
        with open(path, "wb") as out:
            out.write(header + info + table + image)


# The bicycle: 360 x 216, wheels of radius 58 on hubs 196 apart.
SKY, GROUND, TYRE, RIM, SPOKE, HUB, FRAME, CHAIN, SADDLE, GRIP, BELL, PEDAL = range(12)
BICYCLE_PALETTE = [
    (236, 244, 252),  # sky
    (198, 214, 170),  # grass
    (44, 44, 48),     # tyre
    (176, 180, 192),  # rim
    (150, 150, 160),  # spoke
    (96, 96, 104),    # hub
    (196, 36, 40),    # frame
    (70, 66, 60),     # chain and cogs
    (30, 30, 30),     # saddle
    (120, 60, 20),    # grips
    (232, 196, 24),   # bell
    (90, 90, 90),     # pedals
]
REAR = (82, 140)
FRONT = (278, 140)
CRANK = (170, 140)
WHEEL_R = 58


def draw_wheel(c, cx, cy):
    c.ring(cx, cy, WHEEL_R, WHEEL_R - 6, TYRE)
    c.ring(cx, cy, WHEEL_R - 6, WHEEL_R - 10, RIM)
    for k in range(16):
        a = k * math.pi / 8
        c.stroke(cx + 5 * math.cos(a), cy + 5 * math.sin(a),
                 cx + (WHEEL_R - 9) * math.cos(a + 0.35), cy + (WHEEL_R - 9) * math.sin(a + 0.35),
                 1.2, SPOKE)
    c.disc(cx, cy, 6, HUB)


def bicycle():
    c = Canvas(360, 216, SKY)
    c.rect(0, 196, 360, 216, GROUND)
    draw_wheel(c, *REAR)
    draw_wheel(c, *FRONT)
    seat = (150, 62)
    head_top, head_bottom = (250, 64), (257, 90)
    # The chain runs around the chainring and the rear cog.
    c.stroke(CRANK[0], CRANK[1] - 16, REAR[0], REAR[1] - 9, 2, CHAIN)
    c.stroke(CRANK[0], CRANK[1] + 16, REAR[0], REAR[1] + 9, 2, CHAIN)
    c.disc(REAR[0], REAR[1], 9, CHAIN)
    c.disc(REAR[0], REAR[1], 5, HUB)
    # The frame: two triangles and the fork.
    for a, b in ((CRANK, seat), (seat, head_top), (CRANK, head_bottom), (CRANK, REAR),
                 (seat, REAR), (head_top, head_bottom)):
        c.stroke(a[0], a[1], b[0], b[1], 5, FRAME)
    c.stroke(head_bottom[0], head_bottom[1], FRONT[0], FRONT[1], 4, FRAME)
    c.stroke(seat[0], seat[1], 147, 50, 3, HUB)           # seat post
    c.rect(128, 44, 166, 51, SADDLE)
    c.stroke(head_top[0], head_top[1], 246, 42, 3, HUB)   # stem
    c.stroke(232, 42, 262, 42, 3, HUB)                     # handlebar
    c.stroke(226, 42, 236, 42, 5, GRIP)
    c.disc(240, 36, 4, BELL)
    # The chainring with its teeth, the crank and the pedal.
    c.disc(CRANK[0], CRANK[1], 17, CHAIN)
    c.disc(CRANK[0], CRANK[1], 12, SKY)
    c.disc(CRANK[0], CRANK[1], 5, HUB)
    for k in range(5):
        a = k * 2 * math.pi / 5
        c.stroke(CRANK[0], CRANK[1], CRANK[0] + 12 * math.cos(a), CRANK[1] + 12 * math.sin(a),
                 2.5, CHAIN)
    c.stroke(CRANK[0], CRANK[1], 182, 166, 4, HUB)
    c.rect(174, 164, 192, 170, PEDAL)
    return c


# The moon, 128 x 128: phase k (1 to 8) is k - 1 eighths of the way round from new moon.
NIGHT, STAR, DARK, LIT, CRATER, DARK_CRATER = range(6)
MOON_PALETTE = [
    (12, 18, 46),     # night sky
    (220, 224, 255),  # stars
    (52, 54, 72),     # the moon's dark side, in earthshine
    (244, 238, 206),  # the lit side
    (206, 200, 170),  # craters in sunlight
    (44, 46, 62),     # craters in the dark
]
CRATERS = ((-19, -16, 9), (13, 11, 12), (-5, 27, 7), (24, -21, 7), (-29, 13, 5))
STARS = ((10, 12), (114, 18), (16, 108), (106, 116), (66, 5), (5, 60), (121, 74))


def moon(k):
    c = Canvas(128, 128, NIGHT)
    for x, y in STARS:
        c.rect(x, y, x + 1, y + 1, STAR)
    cx = cy = 64
    r = 54
    theta = (k - 1) * math.pi / 4

    def lit(x, y):
        # The line between day and night is half an ellipse; before full moon the right
        # side is lit, after it the left side.
        u, v = (x - cx) / r, (y - cy) / r
        if u * u + v * v > 1:
            return False
        edge = math.cos(theta) * math.sqrt(max(0.0, 1 - v * v))
        return u > edge if theta <= math.pi else u < -edge

    c.disc(cx, cy, r, DARK)
    c.paint(lit, LIT, (cx - r, cy - r, cx + r, cy + r))
    for dx, dy, cr in CRATERS:
        x0, y0 = cx + dx, cy + dy
        c.paint(lambda x, y, x0=x0, y0=y0, cr=cr: math.hypot(x - x0, y - y0) <= cr and lit(x, y),
                CRATER, (x0 - cr, y0 - cr, x0 + cr, y0 + cr))
        c.paint(lambda x, y, x0=x0, y0=y0, cr=cr:
                math.hypot(x - x0, y - y0) <= cr and not lit(x, y), DARK_CRATER,
                (x0 - cr, y0 - cr, x0 + cr, y0 + cr))
    return c


def main():
    os.makedirs(BMPS, exist_ok=True)
    bicycle().write_bmp(os.path.join(BMPS, "BICYCLE.BMP"), 8, BICYCLE_PALETTE, 16)
    for k in range(1, 9):
        moon(k).write_bmp(os.path.join(BMPS, "MOON%d.BMP" % k), 4, MOON_PALETTE, 0)


if __name__ == "__main__":
    main()
