#!/usr/bin/env python3
"""Checks that the program's folders use each other one way only.

Every production folder is one library; a folder may include only the folders below it in
LAYERS (the same order as the top-level CMakeLists.txt). Reads the #include "folder/..."
lines of every source and header of those folders and fails, naming each offending include,
on an include cycle between folders, on an include of a folder above or beside its own, and
on an include of a folder that is not a layer (or of the skin generator, a program).

    scripts/check-layers.py [SOURCE_ROOT]
"""

import re
import sys
from pathlib import Path

# From the bottom up.
LAYERS = [
    "device",
    "model",
    "layout",
    "profile",
    "sim",
    "skin",
    "skingen",
    "jobs",
    "keymap",
    "lighting",
    "app",
    "cli",
]
# Programs only: nothing includes them.
PROGRAMS = {"skingen"}
# The device library's public headers are <quillodev/...>.
ALIASES = {"quillodev": "device"}

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([A-Za-z0-9_]+)/[^">]+[">]')
SOURCES = {".h", ".hpp", ".cpp", ".cc", ".mm"}


def includes_of(root):
    """(from folder, to folder, file, line number, text) of every include between folders."""
    found = []
    for folder in LAYERS:
        base = root / folder
        if not base.is_dir():
            continue
        for path in sorted(base.rglob("*")):
            if path.suffix not in SOURCES or not path.is_file():
                continue
            lines = path.read_text(encoding="utf-8", errors="replace").splitlines()
            for number, line in enumerate(lines, 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                bracket, target = match.groups()
                target = ALIASES.get(target, target)
                # System headers such as <sys/ioctl.h> are not ours.
                if bracket == "<" and target not in LAYERS:
                    continue
                if target == folder:
                    continue
                found.append((folder, target, path.relative_to(root), number, line.strip()))
    return found


def cycles_of(edges):
    """Every elementary cycle of folders, once each: walked from its lowest folder."""
    graph = {}
    for source, target in edges:
        graph.setdefault(source, set()).add(target)
    cycles = []

    def walk(start, node, path):
        for nxt in sorted(graph.get(node, ()), key=LAYERS.index):
            if nxt == start:
                cycles.append(path)
            elif nxt not in path and LAYERS.index(nxt) > LAYERS.index(start):
                walk(start, nxt, path + [nxt])

    for start in sorted(graph, key=LAYERS.index):
        walk(start, start, [start])
    return cycles


def main():
    root = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent)
    includes = includes_of(root)
    problems = []

    def show(source, target, most=None):
        lines = [f"  {file}:{number}: {text}" for s, t, file, number, text in includes
                 if s == source and t == target]
        if most is not None and len(lines) > most:
            lines = lines[:most] + [f"  ... and {len(lines) - most} more"]
        return lines

    edges = {(s, t) for s, t, *_ in includes if t in LAYERS}
    for cycle in cycles_of(edges):
        ring = list(cycle) + [cycle[0]]
        problems.append("include cycle: " + " -> ".join(ring))
        for source, target in zip(ring, ring[1:]):
            problems.extend(show(source, target, most=2))

    for source, target in sorted({(s, t) for s, t, *_ in includes}):
        if target not in LAYERS:
            problems.append(f"{source}/ includes {target}/, which is not a layer:")
        elif target in PROGRAMS:
            problems.append(f"{source}/ includes {target}/, a program:")
        elif LAYERS.index(target) > LAYERS.index(source):
            problems.append(f"{source}/ includes {target}/, which lies above it:")
        else:
            continue
        problems.extend(show(source, target))

    if problems:
        print("\n".join(problems))
        print(f"check-layers: the folders must use each other in the order {' < '.join(LAYERS)}")
        return 1
    folders = sorted({s for s, *_ in includes}, key=LAYERS.index)
    print(f"check-layers: {len(includes)} includes between {len(folders)} folders, all downwards")
    return 0


if __name__ == "__main__":
    sys.exit(main())
