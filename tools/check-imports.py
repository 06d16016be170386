#!/usr/bin/env python3
"""Fails when an #include goes back up: only app/ may include app/, ui/ includes no other
subsystem, and no two subsystems include each other, directly or through others."""

import re
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
FOLDERS = ["app", "text", "picture", "device", "update", "ui", "updater"]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z]+)/', re.MULTILINE)


def folder_imports() -> dict[str, dict[str, list[str]]]:
    """folder -> included folder -> the files that include it."""
    imports: dict[str, dict[str, list[str]]] = {folder: {} for folder in FOLDERS}
    for folder in FOLDERS:
        for source in sorted((ROOT / folder).glob("*.[ch]*")):
            for target in INCLUDE.findall(source.read_text("utf-8", errors="replace")):
                if target not in FOLDERS or target == folder:
                    continue
                files = imports[folder].setdefault(target, [])
                name = source.relative_to(ROOT).as_posix()
                if name not in files:
                    files.append(name)
    return imports


def cycle_through(imports, start: str) -> list[str] | None:
    path = [start]

    def walk(folder: str) -> bool:
        for target in imports[folder]:
            if target == start:
                return True
            if target not in path:
                path.append(target)
                if walk(target):
                    return True
                path.pop()
        return False

    return path + [start] if walk(start) else None


def main() -> int:
    imports = folder_imports()
    problems = []
    for folder, targets in imports.items():
        for target, files in targets.items():
            if target == "app" or folder == "ui":
                problems.append(f"{folder}/ includes {target}/: {', '.join(files)}")
    for folder in FOLDERS:
        cycle = cycle_through(imports, folder)
        if cycle and cycle[0] == min(cycle[:-1]):
            problems.append("folders include each other: " + " -> ".join(cycle))
    for problem in problems:
        print(f"imports: {problem}", file=sys.stderr)
    if not problems:
        print("imports: every #include goes one way")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
