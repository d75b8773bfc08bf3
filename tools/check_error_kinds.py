#!/usr/bin/env python3
"""Checks that every kind of failure is walked: each kind a folder declares in
its `<folder>_errors.h` is in that header's list, and each list is gathered
where the walk of every kind in both languages finds it (engine/error_kinds.h
for the core's, tests/reasons_test.cpp for the rest). Exits 1 naming each
kind or list left out.
"""
import pathlib
import re
import sys

root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".")
gathered = (root / "engine" / "error_kinds.h").read_text(encoding="utf-8") + (
    root / "tests" / "reasons_test.cpp").read_text(encoding="utf-8")
problems = []
headers = sorted(root.glob("*/*_errors.h"))
for header in headers:
    text = header.read_text(encoding="utf-8")
    declared = re.findall(r"inline constexpr ErrorKind (\w+)\{", text)
    lists = re.findall(r"inline constexpr const ErrorKind\* (\w+)\[\] = \{([^}]*)\}", text, re.S)
    if len(lists) != 1:
        problems.append(f"{header.relative_to(root)}: one list of its kinds expected, {len(lists)} found")
        continue
    name, body = lists[0]
    listed = re.findall(r"&(\w+)", body)
    for kind in declared:
        if kind not in listed:
            problems.append(f"{header.relative_to(root)}: {kind} is not in {name}")
    if name not in gathered:
        problems.append(f"{header.relative_to(root)}: {name} is gathered nowhere")
for p in problems:
    print(p)
print(f"{len(headers)} headers of kinds checked, {len(problems)} problems")
sys.exit(1 if problems else 0)
