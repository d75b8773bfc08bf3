"""Writes a drawing as a binary PBM (P4): the form the benchmark drawings are
committed in. `px` is a list of rows of 0 (blank) and 1 (ink)."""


def write_p4(path, px):
    width, height = len(px[0]), len(px)
    rows = bytearray()
    for r in px:
        bits = bytearray((width + 7) // 8)
        for x, v in enumerate(r):
            if v:
                bits[x // 8] |= 0x80 >> (x % 8)
        rows += bits
    path.write_bytes(b"P4\n%d %d\n" % (width, height) + bytes(rows))
