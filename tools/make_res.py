#!/usr/bin/env python3
"""Draws the pen indicator and the application icon as XPM files in res/.

Run once after changing the art; the XPM files are committed and compiled in.
"""
import pathlib

RES = pathlib.Path(__file__).resolve().parent.parent / "res"

PALETTE = {
    ".": "#FFFFFF", "g": "#C0C0C0", "d": "#808080", "k": "#000000",
    "m": "#A0A0A0", "r": "#FE0000", "y": "#F0C040", "p": "#F0A0A0",
    "b": "#2050A0", "l": "#DDDDDD",
}

# 16 x 20 symbols; " " is the field colour.
PENCIL = [
    "                ",
    "                ",
    "           kk   ",
    "          kmmk  ",
    "         kmmmk  ",
    "        kyykk   ",
    "       kyyyk    ",
    "      kyyyk     ",
    "     kyyyk      ",
    "    kyyyk       ",
    "   kyyyk        ",
    "   kyyk         ",
    "  kdkk          ",
    "  kkk           ",
    "  kk            ",
    "                ",
    "  kkkkkkkk      ",
    "                ",
    "                ",
    "                ",
]
ERASER = [
    "                ",
    "                ",
    "                ",
    "         kkkk   ",
    "        kppppk  ",
    "       kppppppk ",
    "      kppppppk  ",
    "     kmkppppk   ",
    "    kmmmkppk    ",
    "   kmmmmmkk     ",
    "  kmmmmmmk      ",
    "  kmmmmmk       ",
    "   kmmmk        ",
    "    kkk         ",
    "                ",
    "                ",
    "  kkkkkkkkkk    ",
    "                ",
    "                ",
    "                ",
]


def half(symbol, selected):
    field, frame = (".", "g") if selected else ("d", "k")
    rows = []
    for y in range(20):
        row = ""
        for x in range(16):
            if x in (0, 15) or y in (0, 19):
                row += frame
            else:
                c = symbol[y][x]
                row += field if c == " " else c
        rows.append(row)
    return rows


def pen_indicator():
    pen_state = [a + b for a, b in zip(half(PENCIL, True), half(ERASER, False))]
    eraser_state = [a + b for a, b in zip(half(PENCIL, False), half(ERASER, True))]
    return [a + b for a, b in zip(pen_state, eraser_state)]


def icon():
    size = 32
    rows = [["." for _ in range(size)] for _ in range(size)]
    for i in range(size):
        rows[0][i] = rows[size - 1][i] = rows[i][0] = rows[i][size - 1] = "b"
        rows[1][i] = rows[size - 2][i] = rows[i][1] = rows[i][size - 2] = "b"
    # Rows of text art: short dark runs with gaps, like characters on lines.
    for y, runs in ((6, [(4, 9), (12, 15), (18, 26)]), (11, [(4, 7), (10, 20)]),
                    (16, [(4, 12), (15, 18)]), (21, [(4, 6), (9, 14)])):
        for a, b in runs:
            for x in range(a, b):
                rows[y][x] = "k"
    # A red stroke sweeping across, the drawing the text came from.
    for x in range(6, 28):
        y = 27 - (x - 6) * (x - 6) // 40
        rows[y][x] = rows[y - 1][x] = "r"
    return ["".join(r) for r in rows]


def write_xpm(name, rows):
    colours = sorted({c for r in rows for c in r})
    lines = [f'static const char* const {name}_xpm[] = {{',
             f'"{len(rows[0])} {len(rows)} {len(colours)} 1",']
    lines += [f'"{c} c {PALETTE[c]}",' for c in colours]
    lines += [f'"{r}",' for r in rows]
    lines[-1] = lines[-1].rstrip(",")
    lines.append("};")
    (RES / f"{name}.xpm").write_text("/* XPM */\n" + "\n".join(lines) + "\n")


if __name__ == "__main__":
    write_xpm("pen_indicator", pen_indicator())
    write_xpm("fudeline_icon", icon())
