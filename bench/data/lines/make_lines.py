#!/usr/bin/env python3
"""Writes the line drawings the quality benchmark converts (PBM P4, 1-pixel
lines, ink-layer coordinates, 799 x 464).

Two sets of ten, drawn from different seeds, so that a change tuned on one set
can be checked on the other: a*.pbm and b*.pbm. Each drawing is one kind of
line a hand makes: scribbles, ellipses, straight (level and upright) strokes,
diagonal strokes, or a mix of all four.
Deterministic: the same files every run.
"""
import math
import pathlib
import random
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent))
from pbm_p4 import write_p4  # noqa: E402

W, H = 799, 464
HERE = pathlib.Path(__file__).resolve().parent
KINDS = ["scribble", "ellipses", "straight", "diagonal", "mixed"]


def line(px, x0, y0, x1, y1):
    n = max(abs(x1 - x0), abs(y1 - y0), 1)
    for i in range(n + 1):
        x = x0 + round(i * (x1 - x0) / n)
        y = y0 + round(i * (y1 - y0) / n)
        if 0 <= x < W and 0 <= y < H:
            px[y][x] = 1


def scribbles(px, rnd, count):
    for _ in range(count):
        x, y = rnd.randint(20, W - 20), rnd.randint(10, H - 10)
        angle = rnd.uniform(0, 2 * math.pi)
        for _ in range(rnd.randint(15, 40)):
            angle += rnd.uniform(-0.9, 0.9)
            step = rnd.uniform(4, 14)
            nx, ny = x + round(step * math.cos(angle)), y + round(step * math.sin(angle))
            line(px, x, y, nx, ny)
            x, y = nx, ny


def ellipses(px, rnd, count):
    for _ in range(count):
        cx, cy = rnd.randint(0, W), rnd.randint(0, H)
        rx, ry = rnd.randint(8, 160), rnd.randint(6, 110)
        tilt = rnd.uniform(0, math.pi)
        steps = 72
        prev = None
        for t in range(steps + 1):
            a = 2 * math.pi * t / steps
            ex, ey = rx * math.cos(a), ry * math.sin(a)
            p = (cx + round(ex * math.cos(tilt) - ey * math.sin(tilt)),
                 cy + round(ex * math.sin(tilt) + ey * math.cos(tilt)))
            if prev:
                line(px, *prev, *p)
            prev = p


def straight(px, rnd, count):
    for _ in range(count):
        x, y = rnd.randint(0, W), rnd.randint(0, H)
        if rnd.random() < 0.5:
            line(px, x, y, x + rnd.randint(-300, 300), y)
        else:
            line(px, x, y, x, y + rnd.randint(-150, 150))


def diagonal(px, rnd, count):
    for _ in range(count):
        x, y = rnd.randint(0, W), rnd.randint(0, H)
        angle = rnd.choice([rnd.uniform(0.1, 1.47), rnd.uniform(1.67, 3.04)])
        length = rnd.randint(30, 300)
        line(px, x, y, x + round(length * math.cos(angle)), y + round(length * math.sin(angle)))


def drawing(kind, rnd):
    px = [[0] * W for _ in range(H)]
    if kind == "scribble":
        scribbles(px, rnd, 8)
    elif kind == "ellipses":
        ellipses(px, rnd, 7)
    elif kind == "straight":
        straight(px, rnd, 18)
    elif kind == "diagonal":
        diagonal(px, rnd, 16)
    else:
        scribbles(px, rnd, 3)
        ellipses(px, rnd, 3)
        straight(px, rnd, 6)
        diagonal(px, rnd, 6)
    return px


def main():
    for prefix, seed in (("a", 12), ("b", 34)):
        rnd = random.Random(seed)
        for i in range(10):
            kind = KINDS[i % len(KINDS)]
            write_p4(HERE / ("%s%02d-%s.pbm" % (prefix, i + 1, kind)), drawing(kind, rnd))


if __name__ == "__main__":
    main()
