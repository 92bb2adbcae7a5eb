#!/usr/bin/env python3
"""Draws the program icon and writes res/snapquery.ico.

Six 32-bit images (256, 128, 48, 32, 24 and 16), each a PNG (which Windows
reads at every size since Vista, and which is a tenth of a DIB here), drawn
with 4x4 supersampling so that every size is anti-aliased. Flat colours keep
the PNGs small. Deterministic: running it again gives the same
bytes.
"""
import struct
import sys
import zlib

SIZES = [256, 128, 48, 32, 24, 16]


def shade(u, v):
    """RGBA of the design at unit coordinates (u, v) in [0, 1)."""
    # Rounded square, blue gradient.
    r = 0.18
    cx = min(max(u, r), 1 - r)
    cy = min(max(v, r), 1 - r)
    inside = (u - cx) ** 2 + (v - cy) ** 2 <= r * r and 0.02 <= u <= 0.98 and 0.02 <= v <= 0.98
    if not inside:
        return (0, 0, 0, 0)
    base = (0x23, 0x6a, 0xd4)
    # Magnifier: ring centred at (0.42, 0.42), handle towards the lower right.
    dx, dy = u - 0.42, v - 0.42
    d = (dx * dx + dy * dy) ** 0.5
    if 0.17 <= d <= 0.25:
        return (255, 255, 255, 255)
    if d < 0.17:
        return (0xd8, 0xe8, 0xff, 255)
    # Handle: a thick segment from (0.60, 0.60) to (0.82, 0.82).
    px, py = u - 0.60, v - 0.60
    along = (px + py) / 2 ** 0.5
    across = abs(px - py) / 2 ** 0.5
    if 0 <= along <= 0.31 and across <= 0.065:
        return (255, 255, 255, 255)
    return base + (255,)


def render(size):
    ss = 4
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(ss):
                for sx in range(ss):
                    r, g, b, a = shade((x + (sx + 0.5) / ss) / size, (y + (sy + 0.5) / ss) / size)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            n = ss * ss
            a = acc[3] // n
            if acc[3]:
                rgb = [c // acc[3] for c in acc[:3]]
            else:
                rgb = [0, 0, 0]
            row.append((rgb[0], rgb[1], rgb[2], a))
        rows.append(row)
    return rows


def png(rows):
    size = len(rows)
    raw = b"".join(b"\x00" + bytes(c for px in row for c in px) for row in rows)

    def chunk(tag, data):
        return struct.pack(">I", len(data)) + tag + data + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF)

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main(out):
    images = []
    for size in SIZES:
        rows = render(size)
        images.append((size, png(rows)))
    head = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for size, data in images:
        dim = 0 if size == 256 else size
        entries += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(out, "wb") as f:
        f.write(head + entries + b"".join(d for _, d in images))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "res/snapquery.ico")
