#!/usr/bin/python3
"""The page's text box font: Debian's Mona TrueType face (fonts-mona, public
domain) cut down to the characters text art is written with, as WOFF2.

    make_web_font.py MONA_TTF OUTPUT.woff2

Kept: the single-byte characters and the Shift-JIS rows 0x81-0x84 (every
character the glyph catalogue matches: symbols, kana, Greek, Cyrillic, box
drawing) and the first level of JIS kanji (0x889F-0x9872), which the words in
text art are mostly written with; any other character falls back to the next
font of the text box. The advance widths stay those of the 16 px face, which
are the widths boards show text art with; hinting and the embedded bitmaps go.

Runs with Debian's python3-fonttools and python3-brotli (the system Python).
"""
import logging
import struct
import sys

from fontTools import subset
from fontTools.ttLib import TTFont, newTable


def sjis_characters():
    """The Unicode characters of the kept Shift-JIS ranges."""
    codes = set()
    for byte in list(range(0x20, 0x7F)) + list(range(0xA1, 0xE0)):
        codes.add(ord(bytes([byte]).decode("cp932")))
    for lead in range(0x81, 0x99):
        for trail in list(range(0x40, 0x7F)) + list(range(0x80, 0xFD)):
            code = lead << 8 | trail
            if lead >= 0x85 and not 0x889F <= code <= 0x9872:
                continue
            try:
                codes.add(ord(bytes([lead, trail]).decode("cp932")))
            except UnicodeDecodeError:
                pass
    # The blanks boards give fixed widths, where the face has them.
    codes.update(range(0x2002, 0x200B))
    codes.add(0x3000)
    return codes


def open_face(path):
    """The face, mended where its tables are shorter than their headers say
    (fontTools reads strictly; browsers read the file as it is)."""
    font = TTFont(path, lazy=True)
    # maxp counts one glyph more than hmtx and loca hold.
    font["maxp"].numGlyphs = min(font["maxp"].numGlyphs, font["hhea"].numberOfHMetrics)
    # OS/2 says version 2 or later but has only the version 1 fields.
    raw = font.reader["OS/2"]
    version = struct.unpack(">H", raw[:2])[0]
    if version >= 2 and len(raw) < 96:
        keep = 86 if len(raw) >= 86 else 78
        raw = struct.pack(">H", 1 if keep == 86 else 0) + raw[2:keep]
    table = newTable("OS/2")
    table.decompile(raw, font)
    font["OS/2"] = table
    return font


def main():
    # The face's old tables draw warnings that say nothing about the result.
    logging.getLogger("fontTools").setLevel(logging.ERROR)
    source, output = sys.argv[1], sys.argv[2]
    font = open_face(source)
    have = set(font.getBestCmap())
    options = subset.Options()
    options.flavor = "woff2"
    options.hinting = False
    options.drop_tables += ["EBDT", "EBLC", "EBSC"]
    options.name_IDs = ["*"]
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=sorted(sjis_characters() & have))
    subsetter.subset(font)
    font.flavor = "woff2"
    font.save(output)


if __name__ == "__main__":
    main()
