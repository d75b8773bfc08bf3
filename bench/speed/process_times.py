#!/usr/bin/env python3
"""Whole-process times of fudeline-cli: each command run a few times after a
warm-up, with the median wall time, the minor page faults and the peak memory.

A batch of small drawings pays the start of the process once per drawing, so
what counts here is the process from exec to exit, loading included, not the
conversion alone (the Google benchmarks measure that).

    bench/speed/process_times.py [--cli build/bin/fudeline-cli] [--runs 5]

Wall time follows the load of the machine; page faults do not, so compare two
builds by both, measured in the same run (--cli may be given twice).
"""

import argparse
import os
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

SOURCE = Path(__file__).resolve().parents[2]


def commands(work):
    """(name, arguments) of every command measured; inputs are committed files
    or made in `work`."""
    one_pixel = work / "one-pixel.pbm"
    one_pixel.write_text("P1\n1 1\n1\n")
    out = str(work / "out.png")
    return [
        ("--version", ["--version"]),
        ("convert one pixel", ["convert", str(one_pixel)]),
        ("convert dense", ["convert", str(SOURCE / "bench/data/dense.pbm")]),
        ("convert dense --fine", ["convert", str(SOURCE / "bench/data/dense.pbm"), "--fine"]),
        ("replay sample", ["replay", str(SOURCE / "res/sample.replay")]),
        ("pages of a tiny file", ["pages", str(SOURCE / "tests/golden/pages.mlt")]),
        ("render", ["render", str(SOURCE / "tests/golden/face.utf8.txt"), "-o", out]),
        ("trace a small picture", ["trace", str(SOURCE / "bench/data/line-art/house-1x.png")]),
    ]


def run_once(argv):
    """Wall seconds, minor page faults and peak resident kilobytes of one run."""
    start = time.perf_counter()
    process = subprocess.Popen(argv, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                               stderr=subprocess.PIPE)
    _, status, usage = os.wait4(process.pid, 0)
    wall = time.perf_counter() - start
    process.returncode = os.waitstatus_to_exitcode(status)
    error = process.stderr.read().decode(errors="replace")
    process.stderr.close()
    if process.returncode != 0:
        raise RuntimeError(f"{' '.join(argv)} exited with {process.returncode}: {error.strip()}")
    return wall, usage.ru_minflt, usage.ru_maxrss


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--cli", action="append",
                        help="fudeline-cli to measure (default build/bin/fudeline-cli); "
                             "twice to compare two builds, run by run in turn")
    parser.add_argument("--runs", type=int, default=5, help="measured runs per command (default 5)")
    parser.add_argument("--warmup", type=int, default=1, help="unmeasured runs first (default 1)")
    args = parser.parse_args()
    if args.runs < 1 or args.warmup < 0:
        parser.error("--runs must be at least 1 and --warmup at least 0")
    clis = args.cli or [str(SOURCE / "build/bin/fudeline-cli")]
    for cli in clis:
        if not os.access(cli, os.X_OK):
            parser.error(f"{cli}: not an executable program")

    with tempfile.TemporaryDirectory() as temp:
        rows = []
        for name, arguments in commands(Path(temp)):
            for cli in clis:
                argv = [cli, *arguments]
                for _ in range(args.warmup):
                    run_once(argv)
            # The builds take turns, so that a change of load falls on both.
            samples = {cli: [] for cli in clis}
            for _ in range(args.runs):
                for cli in clis:
                    samples[cli].append(run_once([cli, *arguments]))
            for cli in clis:
                walls = [s[0] * 1000 for s in samples[cli]]
                rows.append((name, cli if len(clis) > 1 else "", statistics.median(walls),
                             min(walls), max(walls), statistics.median(s[1] for s in samples[cli]),
                             max(s[2] for s in samples[cli]) / 1024))

    print(f"median of {args.runs} after {args.warmup} warm-up run(s); "
          f"load average {os.getloadavg()[0]:.2f}")
    header = ("command", "build", "wall ms", "min", "max", "minor faults", "max RSS MB")
    print("| " + " | ".join(h for h in header if h != "build" or len(clis) > 1) + " |")
    print("|" + "---|" * (len(header) - (len(clis) == 1)))
    for name, cli, median, low, high, faults, rss in rows:
        cells = [name] + ([cli] if len(clis) > 1 else []) + [
            f"{median:.1f}", f"{low:.1f}", f"{high:.1f}", f"{faults:.0f}", f"{rss:.1f}"]
        print("| " + " | ".join(cells) + " |")
    return 0


if __name__ == "__main__":
    sys.exit(main())
