#!/usr/bin/env python3
"""Draws the program's own artwork into resources/: the answer marks, the page markers, the
start picture, the pointing cursor and the program icon (also in the sizes of the desktop's icon
theme, and scalable).

Everything is drawn from simple shapes (discs, rings, strokes, polygons) with 4 x 4
supersampling at the edges; the output is plain PNG written with zlib, so nothing beyond
Python 3 is needed. Run it from anywhere; it rewrites the files it owns:

    python3 tools/make-artwork.py
"""

import math
import os
import struct
import zlib

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources")
SAMPLES = 4  # per axis, for the coverage of shape edges

WHITE = (255, 255, 255, 255)
BLACK = (0, 0, 0, 255)
CLEAR = (0, 0, 0, 0)


class Canvas:
    def __init__(self, width, height, background=WHITE):
        self.width = width
        self.height = height
        self.pixels = [list(background) for _ in range(width * height)]

    def blend(self, x, y, colour, coverage):
        if coverage <= 0 or not (0 <= x < self.width and 0 <= y < self.height):
            return
        r, g, b, a = colour
        alpha = a / 255.0 * min(coverage, 1.0)
        dst = self.pixels[y * self.width + x]
        out_a = alpha + dst[3] / 255.0 * (1 - alpha)
        if out_a <= 0:
            self.pixels[y * self.width + x] = [0, 0, 0, 0]
            return
        for i, c in enumerate((r, g, b)):
            dst[i] = round((c * alpha + dst[i] * dst[3] / 255.0 * (1 - alpha)) / out_a)
        dst[3] = round(out_a * 255)

    def shape(self, inside, colour, box=None):
        """Paints every pixel by the share of its subsamples for which inside(x, y) holds."""
        x0, y0, x1, y1 = box or (0, 0, self.width, self.height)
        x0, y0 = max(0, int(math.floor(x0)) - 1), max(0, int(math.floor(y0)) - 1)
        x1, y1 = min(self.width, int(math.ceil(x1)) + 1), min(self.height, int(math.ceil(y1)) + 1)
        step = 1.0 / SAMPLES
        for y in range(y0, y1):
            for x in range(x0, x1):
                hits = 0
                for sy in range(SAMPLES):
                    for sx in range(SAMPLES):
                        if inside(x + (sx + 0.5) * step, y + (sy + 0.5) * step):
                            hits += 1
                if hits:
                    self.blend(x, y, colour, hits / (SAMPLES * SAMPLES))

    def rect(self, x0, y0, x1, y1, colour):
        for y in range(max(0, y0), min(self.height, y1)):
            for x in range(max(0, x0), min(self.width, x1)):
                self.pixels[y * self.width + x] = list(colour)

    def disc(self, cx, cy, r, colour):
        self.shape(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r, colour,
                   (cx - r, cy - r, cx + r, cy + r))

    def ring(self, cx, cy, r_out, r_in, colour):
        def inside(x, y):
            d = (x - cx) ** 2 + (y - cy) ** 2
            return r_in * r_in <= d <= r_out * r_out
        self.shape(inside, colour, (cx - r_out, cy - r_out, cx + r_out, cy + r_out))

    def stroke(self, points, width, colour):
        """A polyline of the given width with round ends and joins."""
        half = width / 2.0
        for (ax, ay), (bx, by) in zip(points, points[1:]):
            def inside(x, y, ax=ax, ay=ay, bx=bx, by=by):
                return segment_distance(x, y, ax, ay, bx, by) <= half
            self.shape(inside, colour, (min(ax, bx) - half, min(ay, by) - half,
                                        max(ax, bx) + half, max(ay, by) + half))

    def polygon(self, points, colour):
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]
        self.shape(lambda x, y: point_in_polygon(x, y, points), colour,
                   (min(xs), min(ys), max(xs), max(ys)))

    def write_png(self, path, alpha=True):
        rows = []
        for y in range(self.height):
            row = bytearray([0])
            for x in range(self.width):
                p = self.pixels[y * self.width + x]
                row.extend(p if alpha else p[:3])
            rows.append(bytes(row))
        raw = b"".join(rows)

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 6 if alpha else 2, 0, 0, 0)
        png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
               chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as out:
            out.write(png)


def segment_distance(x, y, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length = dx * dx + dy * dy
    t = 0.0 if length == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length))
    return math.hypot(x - (ax + t * dx), y - (ay + t * dy))


def point_in_polygon(x, y, points):
    inside = False
    j = len(points) - 1
    for i in range(len(points)):
        xi, yi = points[i]
        xj, yj = points[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            inside = not inside
        j = i
    return inside


def arc(cx, cy, rx, ry, start_deg, end_deg, steps=24):
    return [(cx + rx * math.cos(math.radians(start_deg + (end_deg - start_deg) * i / steps)),
             cy + ry * math.sin(math.radians(start_deg + (end_deg - start_deg) * i / steps)))
            for i in range(steps + 1)]


# --- Answer marks (16 x 16) -------------------------------------------------------------

def face(fill, smiling):
    c = Canvas(16, 16)
    c.disc(8, 8, 7.4, BLACK)
    c.disc(8, 8, 6.4, fill)
    # A lighter spot up left gives the face some roundness.
    lighter = tuple(min(255, v + 70) for v in fill[:3]) + (110,)
    c.disc(6, 5.6, 2.6, lighter)
    c.disc(5.6, 6.2, 1.0, BLACK)
    c.disc(10.4, 6.2, 1.0, BLACK)
    if smiling:
        c.stroke(arc(8, 8.2, 3.6, 3.2, 25, 155, 12), 1.2, BLACK)
    else:
        c.stroke(arc(8, 13.8, 3.4, 2.8, 205, 335, 12), 1.2, BLACK)
    return c


def x_mark():
    c = Canvas(16, 16)
    shadow = (150, 150, 150, 255)
    c.stroke([(3.6, 3.6), (13.4, 13.4)], 2.8, shadow)
    c.stroke([(13.4, 3.6), (3.6, 13.4)], 2.8, shadow)
    red = (200, 20, 20, 255)
    c.stroke([(2.6, 2.6), (12.4, 12.4)], 2.8, red)
    c.stroke([(12.4, 2.6), (2.6, 12.4)], 2.8, red)
    highlight = (255, 140, 140, 255)
    c.stroke([(3.2, 2.8), (6.4, 6.0)], 0.8, highlight)
    c.stroke([(11.8, 2.8), (8.6, 6.0)], 0.8, highlight)
    return c


# --- Page markers -----------------------------------------------------------------------

def page_outline(c, w, h):
    """A sheet with a black edge and a folded top right corner."""
    fold = max(2, w // 4)
    c.rect(0, 0, w, h, WHITE)
    for x in range(w):
        c.pixels[(h - 1) * w + x] = list(BLACK)
    for y in range(h):
        c.pixels[y * w] = list(BLACK)
        if y >= fold:
            c.pixels[y * w + w - 1] = list(BLACK)
    for x in range(w - fold):
        c.pixels[x] = list(BLACK)
    for i in range(fold + 1):
        x = w - fold - 1 + i
        if 0 <= x < w and i < h:
            c.pixels[i * w + x] = list(BLACK)
    # The cut corner shows the light grey of the strip the markers stand on.
    grey = (192, 192, 192, 255)
    for y in range(0, fold):
        for x in range(w - fold + y, w):
            c.pixels[y * w + x] = list(grey)
    return fold


def page_reached(w, h):
    """A page already reached: a framed picture on the sheet."""
    c = Canvas(w, h)
    fold = page_outline(c, w, h)
    left, top, right, bottom = 2, fold + 1, w - 2, h - 3
    brown = (140, 90, 40, 255)
    c.rect(left, top, right, bottom, brown)
    sky = (120, 180, 235, 255)
    c.rect(left + 1, top + 1, right - 1, bottom - 1, sky)
    green = (60, 150, 60, 255)
    inner_w = right - left - 2
    inner_h = bottom - top - 2
    for x in range(inner_w):
        # A hill across the lower half of the picture.
        rise = int(inner_h * 0.55 - inner_h * 0.3 * math.sin(math.pi * x / max(1, inner_w - 1)))
        c.rect(left + 1 + x, top + 1 + rise, left + 2 + x, bottom - 1, green)
    c.rect(right - 3, top + 2, right - 2, top + 3, (250, 220, 60, 255))
    return c


def page_ahead(w, h):
    """A page still ahead: lines of text on the sheet."""
    c = Canvas(w, h)
    fold = page_outline(c, w, h)
    ink = (70, 70, 110, 255)
    y = fold + 1
    line = 0
    while y < h - 2:
        right = w - 2 if line % 3 != 2 else w - 2 - max(1, w // 3)
        c.rect(2, y, right, y + 1, ink)
        y += 2 if h < 20 else 3
        line += 1
    return c


# --- Start picture (620 x 96) -----------------------------------------------------------

GLYPHS = {
    "L": (0.62, [[(0, 0), (0, 1), (0.62, 1)]]),
    "O": (0.86, [arc(0.43, 0.5, 0.43, 0.5, 0, 360, 40)]),
    "R": (0.7, [[(0, 1), (0, 0), (0.38, 0)] + arc(0.38, 0.25, 0.27, 0.25, -90, 90, 12) +
                [(0, 0.5)], [(0.3, 0.5), (0.7, 1)]]),
    "V": (0.8, [[(0, 0), (0.4, 1), (0.8, 0)]]),
    "E": (0.6, [[(0.6, 0), (0, 0), (0, 1), (0.6, 1)], [(0, 0.5), (0.48, 0.5)]]),
    "N": (0.72, [[(0, 1), (0, 0), (0.72, 1), (0.72, 0)]]),
    "A": (0.8, [[(0, 1), (0.4, 0), (0.8, 1)], [(0.15, 0.64), (0.65, 0.64)]]),
}


EMBLEM_BLUE = (20, 60, 110, 255)
EMBLEM_GOLD = (230, 190, 80, 255)


def emblem_book(cx, cy, r):
    """The open book of the emblem: two page outlines and the strokes of its lines."""
    s = r / 40.0
    pages = [[(cx - 2 * s, cy - 14 * s), (cx - 26 * s, cy - 19 * s),
              (cx - 26 * s, cy + 13 * s), (cx - 2 * s, cy + 18 * s)],
             [(cx + 2 * s, cy - 14 * s), (cx + 26 * s, cy - 19 * s),
              (cx + 26 * s, cy + 13 * s), (cx + 2 * s, cy + 18 * s)]]
    lines = []
    for i in range(4):
        y = -10 + i * 6
        lines.append([(cx - 22 * s, cy + (y - 3) * s), (cx - 6 * s, cy + y * s)])
        lines.append([(cx + 6 * s, cy + y * s), (cx + 22 * s, cy + (y - 3) * s)])
    return pages, lines, 1.4 * s


def emblem(c, cx, cy, r):
    """A round badge with an open book on it."""
    c.disc(cx, cy, r, EMBLEM_BLUE)
    c.ring(cx, cy, r - r * 0.08, r - r * 0.16, EMBLEM_GOLD)
    pages, lines, width = emblem_book(cx, cy, r)
    for page in pages:
        c.polygon(page, WHITE)
    for line in lines:
        c.stroke(line, width, EMBLEM_BLUE)


def start_picture():
    w, h = 620, 96
    c = Canvas(w, h)
    # A soft band from white to pale blue behind the name.
    for y in range(h):
        t = y / (h - 1)
        colour = (round(255 - 30 * t), round(255 - 18 * t), 255, 255)
        c.rect(0, y, w, y + 1, colour)
    emblem(c, 52, 48, 40)
    word = "LORVENNA"
    height = 54.0
    gap = 0.28
    x = 118.0
    top = (h - height) / 2
    ink = (20, 60, 110, 255)
    shadow = (170, 185, 215, 255)
    for pass_colour, offset in ((shadow, 2.5), (ink, 0.0)):
        x = 118.0
        for letter in word:
            advance, strokes = GLYPHS[letter]
            for points in strokes:
                c.stroke([(x + px * height + offset, top + py * height + offset)
                          for px, py in points], 7.0, pass_colour)
            x += (advance + gap) * height
    c.rect(118, h - 12, int(x - gap * height), h - 9, (230, 190, 80, 255))
    return c


# --- Cursor and icon --------------------------------------------------------------------

def outlined(mask_shapes, size, fill):
    """Fills the union of shapes and edges it with a one-pixel black outline."""
    c = Canvas(size, size, CLEAR)
    inside = [[False] * size for _ in range(size)]
    for y in range(size):
        for x in range(size):
            inside[y][x] = any(s(x + 0.5, y + 0.5) for s in mask_shapes)
    for y in range(size):
        for x in range(size):
            if not inside[y][x]:
                continue
            edge = any(not (0 <= x + dx < size and 0 <= y + dy < size and inside[y + dy][x + dx])
                       for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
            c.pixels[y * size + x] = list(BLACK if edge else fill)
    return c


def rounded_box(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


# The finger tip of the pointing hand is at (9, 1); platform/Cursors.cpp uses it as hot spot.
def point_cursor():
    shapes = [
        rounded_box(7, 0.5, 12, 17, 2.5),     # index finger
        rounded_box(11, 8, 16, 18, 2.5),      # middle finger
        rounded_box(15, 9, 20, 19, 2.5),      # ring finger
        rounded_box(19, 10.5, 23.5, 20, 2.2),  # little finger
        rounded_box(7, 14, 23.5, 28, 4),      # palm
        lambda x, y: segment_distance(x, y, 3, 15, 8, 22) <= 2.6,  # thumb
    ]
    c = outlined(shapes, 32, WHITE)
    grey = (150, 150, 150, 255)
    for x, y0, y1 in ((11, 10, 16), (15, 11, 17), (19, 12, 18)):
        for y in range(y0, y1):
            if c.pixels[y * 32 + x][3]:
                c.pixels[y * 32 + x] = list(grey)
    return c


def icon(size=64):
    c = Canvas(size, size, CLEAR)
    emblem(c, size / 2, size / 2, size * 31 / 64)
    return c


def icon_svg(path):
    """The same emblem as a scalable picture for the desktop's icon theme."""
    cx = cy = 32
    r = 31
    hex_colour = lambda c: "#%02x%02x%02x" % c[:3]
    pages, lines, width = emblem_book(cx, cy, r)
    pt = lambda points: " ".join("%.3f,%.3f" % p for p in points)
    body = ['<circle cx="%g" cy="%g" r="%g" fill="%s"/>' % (cx, cy, r, hex_colour(EMBLEM_BLUE)),
            '<circle cx="%g" cy="%g" r="%.3f" fill="none" stroke="%s" stroke-width="%.3f"/>'
            % (cx, cy, r * 0.88, hex_colour(EMBLEM_GOLD), r * 0.08)]
    body += ['<polygon points="%s" fill="#ffffff"/>' % pt(page) for page in pages]
    body += ['<polyline points="%s" fill="none" stroke="%s" stroke-width="%.3f" '
             'stroke-linecap="round"/>' % (pt(line), hex_colour(EMBLEM_BLUE), width)
             for line in lines]
    svg = ('<?xml version="1.0" encoding="UTF-8"?>\n'
           '<svg xmlns="http://www.w3.org/2000/svg" width="64" height="64" viewBox="0 0 64 64">\n'
           + "".join("  %s\n" % element for element in body) + '</svg>\n')
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w") as out:
        out.write(svg)


# Sizes of the icon in the desktop's icon theme, next to the scalable one.
THEME_ICON_SIZES = (16, 32, 48, 64, 128, 256)


def main():
    pictures = os.path.join(ROOT, "pictures")
    face((40, 170, 60, 255), True).write_png(os.path.join(pictures, "301.png"), alpha=False)
    face((215, 40, 40, 255), False).write_png(os.path.join(pictures, "302.png"), alpha=False)
    x_mark().write_png(os.path.join(pictures, "303.png"), alpha=False)
    for number, (w, h) in ((304, (12, 16)), (306, (15, 20)), (308, (19, 25))):
        page_reached(w, h).write_png(os.path.join(pictures, "%d.png" % number), alpha=False)
        page_ahead(w, h).write_png(os.path.join(pictures, "%d.png" % (number + 1)), alpha=False)
    start_picture().write_png(os.path.join(pictures, "310.png"), alpha=False)
    point_cursor().write_png(os.path.join(ROOT, "cursors", "point.png"))
    icon().write_png(os.path.join(ROOT, "icons", "lorvenna.png"))
    theme = os.path.join(ROOT, "icons", "hicolor")
    for size in THEME_ICON_SIZES:
        icon(size).write_png(os.path.join(theme, "%dx%d" % (size, size), "apps", "lorvenna.png"))
    icon_svg(os.path.join(theme, "scalable", "apps", "lorvenna.svg"))


if __name__ == "__main__":
    main()
