#!/usr/bin/env python3
"""Checks the folder include graph against the level map in docs/ARCHITECTURE.md.

Every map line reads "Level N · folder (uses): what it holds". A source file in
a folder of the map may include headers of its own folder and of the folders
its line names under "uses", nothing else; a folder may use only folders of
lower levels. Exits 1 and names each offending include.
"""
import pathlib
import re
import sys

root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".")
doc = (root / "docs" / "ARCHITECTURE.md").read_text(encoding="utf-8")
line_re = re.compile(r"^Level (\d+) · `?(\w+)/?`? \(([^)]*)\):", re.M)
levels, uses = {}, {}
for number, folder, used in line_re.findall(doc):
    levels[folder] = int(number)
    uses[folder] = {u.strip().strip("`/") for u in used.split(",") if u.strip() not in ("", "—", "-")}

problems = []
if not levels:
    problems.append("docs/ARCHITECTURE.md has no level map")
for folder, used in uses.items():
    for u in used:
        if u in levels and levels[u] >= levels[folder]:
            problems.append(f"{folder} (level {levels[folder]}) uses {u} (level {levels[u]})")
include_re = re.compile(r'^\s*#\s*include\s+"(\w+)/', re.M)
for folder in levels:
    for path in sorted((root / folder).rglob("*")):
        if path.suffix not in (".h", ".hpp", ".cpp", ".cc"):
            continue
        for target in include_re.findall(path.read_text(encoding="utf-8", errors="replace")):
            if target != folder and target not in uses[folder] and target in levels:
                problems.append(f"{path.relative_to(root)}: includes {target}/, not among {folder}'s uses")
for p in problems:
    print(p)
print(f"{len(levels)} folders checked, {len(problems)} problems")
sys.exit(1 if problems else 0)
