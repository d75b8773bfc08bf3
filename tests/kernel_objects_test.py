#!/usr/bin/env python3
"""Checks that no kernel object built for a wider instruction set defines a
symbol the linker may merge with another file's copy (weak or unique
symbols: inline functions and templates outside an unnamed namespace). The
linker keeps one copy of such a symbol for the whole program, so a copy built
with -mavx2 could end up called on a processor without AVX2.

Usage: kernel_objects_test.py OBJECT... (the libraries' objects; the kernel
files are picked out by name)."""
import re
import subprocess
import sys

KERNEL = re.compile(r"_(sse2|avx2|avx512)\.cpp\.o(bj)?$")


def shared_symbols(path):
    listing = subprocess.run(["nm", "--defined-only", "-C", path], check=True,
                             capture_output=True, text=True).stdout
    found = []
    for line in listing.splitlines():
        fields = line.split(" ", 2)
        if len(fields) == 3 and fields[1] in ("W", "V", "u"):
            found.append(fields[2])
    return found


def main(objects):
    kernels = [path for path in objects if KERNEL.search(path)]
    if not kernels:
        print("no kernel objects among the arguments")
        return 1
    failed = False
    for path in kernels:
        symbols = shared_symbols(path)
        for symbol in symbols:
            print(f"{path}: shares {symbol}")
        failed = failed or bool(symbols)
        print(f"{path}: {'FAIL' if symbols else 'ok'}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
