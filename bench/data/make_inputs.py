#!/usr/bin/env python3
"""Writes the benchmark drawings (PBM P4, ink-layer coordinates, 799 x 464).

dense.pbm: the whole canvas scribbled over, every row thick with characters.
sparse.pbm: a few strokes, as a quick sketch has.
scribble.replay: 20,000 mouse moves in 100 strokes scribbling over the whole
canvas, for timing a long `fudeline-cli replay` (window client pixels).
Deterministic: the same files every run.
"""
import math
import pathlib
import random

from pbm_p4 import write_p4

W, H = 799, 464
HERE = pathlib.Path(__file__).resolve().parent


def line(px, x0, y0, x1, y1):
    n = max(abs(x1 - x0), abs(y1 - y0))
    for i in range(n):
        x = x0 + round(i * (x1 - x0) / n)
        y = y0 + round(i * (y1 - y0) / n)
        if 0 <= x < W and 0 <= y < H:
            px[y][x] = 1


def dense():
    rnd = random.Random(1)
    px = [[0] * W for _ in range(H)]
    # Random walks everywhere...
    for _ in range(420):
        x, y = rnd.randrange(W), rnd.randrange(H)
        for _ in range(14):
            nx = x + rnd.randint(-14, 14)
            ny = y + rnd.randint(-9, 9)
            line(px, x, y, nx, ny)
            x, y = nx, ny
    # ...and a wave through every row so no row is left thin.
    for row in range(29):
        base = row * 16 + 8
        pts = [(x, base + round(5 * math.sin(x / 9 + row))) for x in range(0, W, 6)]
        for (x0, y0), (x1, y1) in zip(pts, pts[1:]):
            line(px, x0, y0, x1, y1)
    return px


def sparse():
    px = [[0] * W for _ in range(H)]
    cx, cy, r = 300, 200, 90
    pts = [(round(cx + r * math.cos(t / 30 * 2 * math.pi)),
            round(cy + 0.8 * r * math.sin(t / 30 * 2 * math.pi))) for t in range(31)]
    for (x0, y0), (x1, y1) in zip(pts, pts[1:]):
        line(px, x0, y0, x1, y1)
    line(px, 100, 400, 700, 380)
    line(px, 600, 50, 650, 300)
    return px


def scribble():
    rnd = random.Random(5)
    lines = ["# 100 strokes of 200 moves over the whole canvas"]
    for _ in range(100):
        x, y = rnd.randint(12, 811), rnd.randint(40, 561)
        lines.append("down %d %d" % (x, y))
        for _ in range(200):
            x = min(max(x + rnd.randint(-14, 14), -8), 831)
            y = min(max(y + rnd.randint(-9, 9), 20), 581)
            lines.append("move %d %d" % (x, y))
        lines.append("up")
    (HERE / "scribble.replay").write_text("\n".join(lines) + "\n")


if __name__ == "__main__":
    write_p4(HERE / "dense.pbm", dense())
    write_p4(HERE / "sparse.pbm", sparse())
    scribble()
