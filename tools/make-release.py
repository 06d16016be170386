#!/usr/bin/env python3
"""Packs the shipped program into the release archive build/release/墨舟<version>.zip: 墨舟.exe, the
HEIC and AVIF decoder DLLs beside it and the third-party notices, at the top of the archive, which is how
the updater unpacks it over the program's folder. The version is the one resources/version.h gives
both executables.

Usage: make-release.py [--dist DIR] [--output-dir DIR]
"""

from __future__ import annotations

import argparse
import re
import sys
import time
import zipfile
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
FILES = ["墨舟.exe", "libheif.dll", "libde265.dll", "第三方软件许可.txt"]
ARCHIVE_ATTRIBUTE = 0x20  # FILE_ATTRIBUTE_ARCHIVE: a plain file, as Windows' own archives record it


def version_text(header: Path) -> str:
    match = re.search(r'^#define MOZHOU_VERSION_TEXT "([^"]+)"', header.read_text("utf-8"), re.MULTILINE)
    if not match:
        raise SystemExit(f"release: no MOZHOU_VERSION_TEXT in {header}")
    return match.group(1)


def write_archive(dist: Path, archive: Path) -> None:
    missing = [name for name in FILES if not (dist / name).is_file()]
    if missing:
        raise SystemExit(f"release: {', '.join(missing)} missing from {dist}: run make first")
    archive.parent.mkdir(parents=True, exist_ok=True)
    partial = archive.with_name(archive.name + ".part")
    with zipfile.ZipFile(partial, "w", compression=zipfile.ZIP_DEFLATED, compresslevel=9) as zip_file:
        for name in FILES:
            path = dist / name
            # Names that are not ASCII are flagged as UTF-8 by zipfile itself.
            entry = zipfile.ZipInfo(name, time.localtime(path.stat().st_mtime)[:6])
            entry.create_system = 0  # MS-DOS/Windows attributes, no Unix mode
            entry.external_attr = ARCHIVE_ATTRIBUTE
            entry.compress_type = zipfile.ZIP_DEFLATED
            zip_file.writestr(entry, path.read_bytes())
    partial.replace(archive)


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--dist", type=Path, default=ROOT / "build" / "dist")
    parser.add_argument("--output-dir", type=Path, default=ROOT / "build" / "release")
    arguments = parser.parse_args()
    archive = arguments.output_dir / f"墨舟{version_text(ROOT / 'resources' / 'version.h')}.zip"
    write_archive(arguments.dist, archive)
    print(f"release: {archive} ({archive.stat().st_size} bytes: {', '.join(FILES)})")
    return 0


if __name__ == "__main__":
    sys.exit(main())
