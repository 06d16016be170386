"""Programs an earlier case left running in this Wine session, found and ended from the Linux side.

The driver ends only what it launched itself, and a driver that hung is killed before it can. What it
launched then runs on with its message boxes, and a copy still running under the same file name makes
the next start refuse ("程序已运行") - every later case would fail for it. /proc shows each Windows
process as a Linux one: its WINEPREFIX, and its Windows path as argv[0]."""

from __future__ import annotations

import os
import signal
import time
from dataclasses import dataclass
from pathlib import Path

from .paths import DRIVER_NAME, temp_base, windows_path
from .timing import patient

# Programs the cases start besides copies of the program under test; winedbg shows a crash.
STARTED_BY_CASES = {"notepad.exe", "taskmgr.exe", "winedbg.exe", "update.exe", DRIVER_NAME}
END_WAIT_S = 10.0
# wineserver drops a killed process's objects (its single-instance event among them) on its own time.
SERVER_SETTLE_S = 0.5
POLL_S = 0.05


@dataclass(frozen=True)
class WineProcess:
    pid: int
    path: str

    @property
    def name(self) -> str:
        return self.path.replace("\\", "/").rsplit("/", 1)[-1].lower()


def _running(pid: int) -> bool:
    try:
        stat = Path(f"/proc/{pid}/stat").read_text()
    except OSError:
        return False
    return stat.rsplit(")", 1)[-1].split()[0] not in ("Z", "X")


def session_processes(prefix: str) -> list[WineProcess]:
    """Live processes of the Wine prefix."""
    marker = b"WINEPREFIX=" + os.fsencode(prefix)
    found = []
    for entry in Path("/proc").iterdir():
        if not entry.name.isdigit():
            continue
        try:
            if marker not in (entry / "environ").read_bytes().split(b"\0"):
                continue
            argv0 = (entry / "cmdline").read_bytes().split(b"\0")[0]
        except OSError:
            continue
        if _running(int(entry.name)):
            found.append(WineProcess(int(entry.name), os.fsdecode(argv0).strip()))
    return found


def leftovers(keep: set[int] = frozenset()) -> list[WineProcess]:
    """What the cases started that still runs, except the pids in keep (the driver in use)."""
    prefix = os.environ.get("WINEPREFIX")
    if not prefix:
        return []
    ours = windows_path(temp_base()).lower() + "\\"
    return [p for p in session_processes(os.path.abspath(prefix))
            if p.pid not in keep and (p.path.lower().startswith(ours) or p.name in STARTED_BY_CASES)]


def end_leftovers(keep: set[int] = frozenset()) -> list[WineProcess]:
    """Kills what leftovers() finds and waits until it has gone; returns what was ended."""
    found = leftovers(keep)
    for process in found:
        try:
            os.kill(process.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
    deadline = time.monotonic() + patient(END_WAIT_S)
    while any(_running(p.pid) for p in found):
        if time.monotonic() >= deadline:
            raise RuntimeError(f"left-over programs would not end: {[p for p in found if _running(p.pid)]}")
        time.sleep(POLL_S)
    if found:
        time.sleep(SERVER_SETTLE_S)
    return found
