"""Where things are: the repository, the program under test, the driver, and wine's view of paths."""

from __future__ import annotations

import getpass
import os
from pathlib import Path, PurePosixPath

REPO = Path(__file__).resolve().parents[3]
BUILD = REPO / "build"
PROGRAM_NAME = "墨舟.exe"
DRIVER_NAME = "e2e-driver.exe"


def program_exe() -> Path:
    return Path(os.environ.get("MOZHOU_EXE", BUILD / "dist" / PROGRAM_NAME))


def test_build_exe() -> Path:
    """The program built to ask the tests' update server, and to trust the tests' signing key."""
    return Path(os.environ.get("MOZHOU_UPDATE_TEST_EXE", BUILD / "win" / "test-dist" / PROGRAM_NAME))


def test_updater_exe() -> Path:
    """The updater that test build carries."""
    return Path(os.environ.get("MOZHOU_UPDATER_TEST_EXE", BUILD / "win" / "updater" / "test" / "update.exe"))


def exe_required() -> bool:
    return bool(os.environ.get("MOZHOU_REQUIRE_EXE"))


def temp_base() -> Path:
    return Path(os.environ.get("MOZHOU_E2E_TMP", BUILD / "e2e-tmp"))


def driver_exe() -> Path:
    """E2E_DRIVER_EXE, else the newest e2e-driver.exe anywhere under build/."""
    configured = os.environ.get("E2E_DRIVER_EXE")
    if configured:
        return Path(configured)
    found = sorted(BUILD.glob(f"**/{DRIVER_NAME}"), key=lambda p: p.stat().st_mtime, reverse=True)
    if not found:
        raise FileNotFoundError(f"{DRIVER_NAME} not found under {BUILD}; build it or set E2E_DRIVER_EXE")
    return found[0]


def windows_path(path: os.PathLike | str) -> str:
    """The same file as a Windows program under wine sees it: drive Z: is the Unix root."""
    absolute = PurePosixPath(os.path.abspath(path))
    return "Z:" + str(absolute).replace("/", "\\")


def page_setup_file() -> Path:
    """Where the program keeps its page setup: the user's roaming folder in the Wine prefix."""
    return Path(os.environ.get("WINEPREFIX", "")) / "drive_c/users" / getpass.getuser() / "AppData/Roaming/墨舟/页面设置.txt"
