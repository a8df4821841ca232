#!/usr/bin/env python3
"""Watches the magnifier from the X side while the X server moves the pointer, as a hand would.

The view looks at the window of `vizref --pattern`, whose every pixel tells its own screen position, so the
pixel at the centre of the magnified view tells where the picture shown was taken. The probe
reads that pixel straight from the X server (XGetImage of the root window) and moves the pointer
with XWarpPointer, without a Windows program in between.

  motion_probe.py calibrate X0 Y0 X1 Y1 PX PY
      moves the pointer to (PX, PY) and finds the centre of the view inside the screen area
      (X0, Y0)-(X1, Y1); prints "SX SY", the screen point of the view's centre cell
  motion_probe.py latency SX SY CX CY MOVES
      MOVES moves around (CX, CY) at varied phases; for each, the time from the X server's move
      to the view showing the new place; prints the median and p95 in ms
  motion_probe.py count SX SY CX CY SECONDS
      counts the pictures the view shows (changes of the place at its centre) for SECONDS while
      something else moves the pointer; prints pictures and pictures per second
"""
import ctypes
import ctypes.util
import statistics
import sys
import time

X = ctypes.CDLL(ctypes.util.find_library("X11"))
X.XOpenDisplay.restype = ctypes.c_void_p
X.XOpenDisplay.argtypes = [ctypes.c_char_p]
X.XDefaultRootWindow.restype = ctypes.c_ulong
X.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
X.XGetImage.restype = ctypes.c_void_p
X.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                        ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
X.XGetPixel.restype = ctypes.c_ulong
X.XGetPixel.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int]
X.XDestroyImage.argtypes = [ctypes.c_void_p]
X.XWarpPointer.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_int,
                           ctypes.c_int, ctypes.c_uint, ctypes.c_uint, ctypes.c_int, ctypes.c_int]
X.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]

ALL_PLANES = 0xFFFFFFFF
Z_PIXMAP = 2

display = X.XOpenDisplay(None)
if not display:
    sys.exit("motion_probe: cannot open the display")
root = X.XDefaultRootWindow(display)


def pixels(x, y, w, h):
    """The root window's pixels of an area, as rows of 0xRRGGBB."""
    image = X.XGetImage(display, root, x, y, w, h, ALL_PLANES, Z_PIXMAP)
    if not image:
        return None
    try:
        return [[X.XGetPixel(image, i, j) & 0xFFFFFF for i in range(w)] for j in range(h)]
    finally:
        X.XDestroyImage(image)


def pixel(x, y):
    image = X.XGetImage(display, root, x, y, 1, 1, ALL_PLANES, Z_PIXMAP)
    if not image:
        return None
    value = X.XGetPixel(image, 0, 0) & 0xFFFFFF
    X.XDestroyImage(image)
    return value


def place(colour, around):
    """The screen point a pattern colour stands for, of those congruent modulo 4096 the nearest
    to `around`."""
    red, green, blue = colour >> 16, (colour >> 8) & 0xFF, colour & 0xFF
    x12, y12 = red | (blue & 0x0F) << 8, green | (blue >> 4) << 8

    def settle(v12, hint):
        v = hint - ((hint - v12) & 0xFFF)
        return v + 4096 if hint - v > 2048 else v
    return settle(x12, around[0]), settle(y12, around[1])


def move(x, y):
    X.XWarpPointer(display, 0, root, 0, 0, 0, 0, x, y)
    X.XSync(display, 0)


def calibrate(x0, y0, x1, y1, px, py):
    move(px, py)
    deadline = time.monotonic() + 10
    while time.monotonic() < deadline:
        rows = pixels(x0, y0, x1 - x0, y1 - y0) or []
        hits = [(x0 + i, y0 + j) for j, row in enumerate(rows) for i, c in enumerate(row)
                if place(c, (px, py)) == (px, py)]
        if len(hits) >= 4:
            xs, ys = sorted(h[0] for h in hits), sorted(h[1] for h in hits)
            print(xs[len(xs) // 2], ys[len(ys) // 2])
            return 0
        time.sleep(0.05)
    print("motion_probe: the view never showed the pattern at the pointer", file=sys.stderr)
    return 1


def shown(sx, sy, around):
    c = pixel(sx, sy)
    return None if c is None else place(c, around)


def latency(sx, sy, cx, cy, moves):
    offsets = [((k * 7) % 31 - 15, (k * 11) % 29 - 14) for k in range(moves)]
    samples, previous = [], None
    for k, (dx, dy) in enumerate(offsets):
        target = (cx + dx, cy + dy)
        if target == previous:
            target = (target[0] + 1, target[1])
        previous = target
        time.sleep(0.04 + (k * 0.0173) % 0.09)  # varied phases against the program's timers
        move(*target)
        start = time.perf_counter()
        while shown(sx, sy, (cx, cy)) != target:
            if time.perf_counter() - start > 2:
                print(f"motion_probe: move {k} to {target} never showed", file=sys.stderr)
                return 1
            time.sleep(0.0002)
        samples.append((time.perf_counter() - start) * 1000)
    samples.sort()
    p95 = samples[min(len(samples) - 1, int(round(0.95 * (len(samples) - 1))))]
    print(f"{statistics.median(samples):.1f} {p95:.1f}")
    return 0


def count(sx, sy, cx, cy, seconds):
    pictures, last = 0, shown(sx, sy, (cx, cy))
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        now = shown(sx, sy, (cx, cy))
        if now is not None and now != last:
            pictures += 1
            last = now
        time.sleep(0.0005)
    print(pictures, f"{pictures / seconds:.1f}")
    return 0


def main(argv):
    if len(argv) == 7 and argv[0] == "calibrate":
        return calibrate(*map(int, argv[1:]))
    if len(argv) == 6 and argv[0] == "latency":
        return latency(*map(int, argv[1:]))
    if len(argv) == 6 and argv[0] == "count":
        return count(*map(int, argv[1:5]), float(argv[5]))
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
