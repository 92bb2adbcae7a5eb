#!/usr/bin/env python3
"""Draws the maker's logo for the About window and writes res/logo.bmp.

147 x 110 pixels, 24 bits per pixel, uncompressed, stored bottom-up: a
bitmap file of exactly 48,894 bytes. Deterministic: the same bytes on every
run.
"""
import struct
import sys

W, H = 147, 110


def inside_polygon(x, y, points):
    result = False
    j = len(points) - 1
    for i in range(len(points)):
        xi, yi = points[i]
        xj, yj = points[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            result = not result
        j = i
    return result


# A "V" of two slanted bars over a soft circle, with a base line.
LEFT_BAR = [(30, 18), (50, 18), (76, 86), (63, 92)]
RIGHT_BAR = [(117, 18), (97, 18), (71, 86), (84, 92)]


def colour(x, y):
    # Background: a light vertical gradient.
    t = y / H
    bg = (int(236 - 20 * t), int(240 - 16 * t), int(248 - 8 * t))
    dx, dy = x - 73.5, y - 52
    if dx * dx + dy * dy <= 46 * 46:
        bg = (int(196 - 40 * t), int(214 - 36 * t), int(240 - 20 * t))
    if inside_polygon(x, y, LEFT_BAR):
        return (0x1f, 0x4e, 0x9c)
    if inside_polygon(x, y, RIGHT_BAR):
        return (0x2f, 0x80, 0xed)
    if 98 <= y <= 101 and 30 <= x <= 117:
        return (0x1f, 0x4e, 0x9c)
    return bg


def main(out):
    ss = 3
    stride = (W * 3 + 3) // 4 * 4
    rows = []
    for y in range(H):
        row = bytearray()
        for x in range(W):
            acc = [0, 0, 0]
            for sy in range(ss):
                for sx in range(ss):
                    c = colour(x + (sx + 0.5) / ss, y + (sy + 0.5) / ss)
                    for k in range(3):
                        acc[k] += c[k]
            r, g, b = (v // (ss * ss) for v in acc)
            row += bytes((b, g, r))
        row += bytes(stride - len(row))
        rows.append(bytes(row))
    pixels = b"".join(reversed(rows))  # bottom-up
    info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    data = header + info + pixels
    assert len(data) == 48894, len(data)
    with open(out, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "res/logo.bmp")
