#!/usr/bin/env python3
"""Draws the sample course's picture of a wheel as a 24-bit BMP file.

Usage: tools/make-sample-picture.py courseware/BMPS/WHEEL.BMP
"""
import math
import struct
import sys

WIDTH, HEIGHT = 160, 160


def pixel(x, y):
    cx, cy = WIDTH / 2, HEIGHT / 2
    d = math.hypot(x - cx, y - cy)
    angle = math.degrees(math.atan2(y - cy, x - cx)) % 45
    if 66 <= d <= 74:
        return (40, 40, 40)          # tyre
    if d < 6:
        return (200, 30, 30)         # hub
    if d < 66 and (angle < 1.5 or angle > 43.5):
        return (120, 120, 120)       # spokes
    if d < 66:
        return (235, 235, 220)       # inside of the wheel
    return (255, 255, 255)


def main(path):
    row_size = (WIDTH * 3 + 3) // 4 * 4
    rows = []
    for y in range(HEIGHT - 1, -1, -1):  # bottom-up, as the format stores rows
        row = bytearray()
        for x in range(WIDTH):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += b"\0" * (row_size - len(row))
        rows.append(bytes(row))
    image = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(image), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, len(image), 2835, 2835, 0, 0)
    with open(path, "wb") as out:
        out.write(header + info + image)


if __name__ == "__main__":
    main(sys.argv[1])
