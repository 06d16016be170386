"""A small file system of a test's own, full or read-only as a user's disk can be (root ignores a file's read-only mode)."""

from __future__ import annotations

import contextlib
import os
import subprocess
import tempfile
from pathlib import Path

import pytest

from .paths import temp_base


@contextlib.contextmanager
def tmpfs(size: str = "32m"):
    """Yields a fresh folder with a tmpfs of that size mounted on it; skips where it cannot mount."""
    if os.geteuid() != 0:
        pytest.skip("mounting a file system takes root")
    temp_base().mkdir(parents=True, exist_ok=True)
    folder = Path(tempfile.mkdtemp(prefix="tmpfs-", dir=temp_base()))
    try:
        subprocess.run(["mount", "-t", "tmpfs", "-o", f"size={size}", "tmpfs", folder], check=True)
        yield folder
    finally:
        subprocess.run(["umount", "--lazy", folder], capture_output=True)  # wine may still hold a file
        folder.rmdir()


def make_read_only(folder: Path) -> None:
    subprocess.run(["mount", "-o", "remount,ro", folder], check=True)


def fill(folder: Path) -> None:
    """Leaves no byte free on the folder's file system: the last write is cut short, the next fails."""
    with open(folder / "filler", "wb", buffering=0) as filler, contextlib.suppress(OSError):
        while True:
            filler.write(bytes(65536))

