#!/usr/bin/env python3
"""Draws the program icon (the picture of packaging/quorvane.svg) at the sizes
Windows shows and writes packaging/windows/quorvane.ico. Run again only when
the picture changes; needs nothing but Python and ImageMagick's convert."""
import math, os, struct, subprocess, sys, tempfile, zlib

STOPS = [(0, (0xff, 0x3a, 0x2f)), (.25, (0xff, 0xd2, 0x2f)), (.5, (0x2f, 0xe0, 0x8a)),
         (.75, (0x2f, 0x7b, 0xff)), (1, (0xc4, 0x2f, 0xff))]
DARK = (0x10, 0x10, 0x18)

def bands(t):
    for (a, ca), (b, cb) in zip(STOPS, STOPS[1:]):
        if t <= b:
            f = (t - a) / (b - a)
            return tuple(ca[i] + (cb[i] - ca[i]) * f for i in range(3))
    return STOPS[-1][1]

def bezier():
    p = [(8, 40), (20, 22), (44, 58), (56, 24)]
    pts = []
    for i in range(201):
        t = i / 200
        u = 1 - t
        pts.append(tuple(u**3 * p[0][k] + 3 * u * u * t * p[1][k] + 3 * u * t * t * p[2][k] + t**3 * p[3][k]
                         for k in range(2)))
    return pts

CURVE = bezier()

def sample(x, y):
    """Colour and alpha of the 64 x 64 picture at (x, y)."""
    # The rounded square from 2 to 62 with corners of radius 10.
    cx, cy = min(max(x, 12), 52), min(max(y, 12), 52)
    if not (2 <= x <= 62 and 2 <= y <= 62) or math.hypot(x - cx, y - cy) > 10:
        return (0, 0, 0), 0.0
    c = DARK
    if math.hypot(x - 32, y - 32) <= 24:
        c = bands(min(max(((x - 8) + (y - 8)) / 96, 0), 1))
        if min(math.hypot(x - px, y - py) for px, py in CURVE[::2]) <= 2:
            c = DARK
        g = math.hypot(x - 24, y - 24) / 9
        if g < 1:
            a = 0.85 * (1 - g)
            c = tuple(v + (255 - v) * a for v in c)
    return c, 1.0

def png(size):
    n = 3  # samples a side per pixel
    rows = []
    for py in range(size):
        row = bytearray([0])
        for px in range(size):
            acc, alpha = [0.0, 0.0, 0.0], 0.0
            for sy in range(n):
                for sx in range(n):
                    c, a = sample((px + (sx + .5) / n) * 64 / size, (py + (sy + .5) / n) * 64 / size)
                    alpha += a
                    for i in range(3):
                        acc[i] += c[i] * a
            row += bytes(int(acc[i] / alpha + .5) if alpha else 0 for i in range(3))
            row.append(int(255 * alpha / (n * n) + .5))
        rows.append(bytes(row))
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b""))

out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "quorvane.ico")
with tempfile.TemporaryDirectory() as d:
    files = []
    for s in (256, 48, 32, 16):
        f = os.path.join(d, f"{s}.png")
        open(f, "wb").write(png(s))
        files.append(f)
    subprocess.run(["convert", *files, out], check=True)
print(out)
