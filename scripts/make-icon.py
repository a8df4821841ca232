#!/usr/bin/env python3
"""Draws the application icon (a magnifier over a pixel grid) into res/vizmoria.ico."""
import struct, sys

def pixel(x, y, n):
    s = n / 32.0
    cx, cy, r = 13 * s, 13 * s, 9.5 * s
    d = ((x + .5 - cx) ** 2 + (y + .5 - cy) ** 2) ** .5
    # handle
    hx, hy = x + .5, y + .5
    if hx > 19 * s and hy > 19 * s and abs((hx - hy)) < 3.2 * s and hx < 30 * s:
        return (90, 50, 20, 255)
    if d <= r - 2.2 * s:
        cell = max(1, int(4 * s))
        gx, gy = int(x / cell), int(y / cell)
        if x % cell == 0 or y % cell == 0:
            return (150, 150, 150, 255)
        palette = [(230, 60, 60), (60, 170, 60), (60, 90, 230), (240, 200, 40)]
        c = palette[(gx + 2 * gy) % 4]
        return (*c, 255)
    if d <= r:
        return (40, 40, 40, 255)
    return (0, 0, 0, 0)

def image(n):
    rows = []
    for y in range(n - 1, -1, -1):  # bottom-up
        for x in range(n):
            r, g, b, a = pixel(x, y, n)
            rows.append(struct.pack('BBBB', b, g, r, a))
    xor = b''.join(rows)
    mask_row = ((n + 31) // 32) * 4
    andmask = b'\0' * (mask_row * n)
    header = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 32, 0, len(xor) + len(andmask), 0, 0, 0, 0)
    return header + xor + andmask

# Every size Windows asks for from 96 to 192 DPI (small icons 16-32, large 32-64), so that no
# size is scaled from another.
sizes = [16, 20, 24, 32, 40, 48, 64]
imgs = [image(n) for n in sizes]
out = struct.pack('<HHH', 0, 1, len(sizes))
offset = 6 + 16 * len(sizes)
for n, data in zip(sizes, imgs):
    out += struct.pack('<BBBBHHII', n % 256, n % 256, 0, 0, 1, 32, len(data), offset)
    offset += len(data)
out += b''.join(imgs)
open(sys.argv[1] if len(sys.argv) > 1 else 'res/vizmoria.ico', 'wb').write(out)
