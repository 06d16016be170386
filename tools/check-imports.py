#!/usr/bin/env python3
"""Fails on every #include that goes against the declared order of the folders:

    app -> text -> picture -> device -> ui
    app -> update -> ui
    updater -> update -> ui

A folder may include the folders below it, directly or through others, and nothing else. text
and picture are peers in the program's design; text reads a picture's kind to refuse a dropped
picture file, so text stands above picture and never the other way round."""

import re
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
# Each folder with the folders it may include directly; what those may include, it may too.
BELOW = {
    "app": ["text", "picture", "update"],
    "text": ["picture"],
    "picture": ["device"],
    "device": ["ui"],
    "update": ["ui"],
    "updater": ["update"],
    "ui": [],
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"(([a-z]+)/[^"]*)"', re.MULTILINE)


def allowed_includes() -> dict[str, set[str]]:
    """folder -> every folder it may include."""
    allowed: dict[str, set[str]] = {}

    def reach(folder: str) -> set[str]:
        if folder not in allowed:
            allowed[folder] = set()
            for below in BELOW[folder]:
                allowed[folder] |= {below} | reach(below)
        return allowed[folder]

    for folder in BELOW:
        reach(folder)
    return allowed


def offending_includes() -> list[str]:
    """file:line and the folder it should not include, for every such #include."""
    allowed = allowed_includes()
    problems = []
    for folder in BELOW:
        for source in sorted((ROOT / folder).glob("*.[ch]*")):
            text = source.read_text("utf-8", errors="replace")
            for match in INCLUDE.finditer(text):
                path, target = match.groups()
                if target == folder or target not in BELOW or target in allowed[folder]:
                    continue
                line = text.count("\n", 0, match.start()) + 1
                name = source.relative_to(ROOT).as_posix()
                problems.append(f"{name}:{line}: {folder}/ may not include {path}")
    return problems


def main() -> int:
    problems = offending_includes()
    for problem in problems:
        print(f"imports: {problem}", file=sys.stderr)
    if not problems:
        print("imports: every #include follows the order of the folders")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
