"""CPU time of the program's process while its main window sits idle, beside Wine's notepad
measured the same way in the same run. Wine's own server does work for each process too, so
its share over the same interval is reported beside each figure. The program is measured twice:
in the middle of the screen, and docked at the left edge (the driver moves it there, the cursor
kept outside), where edge docking watches the cursor.

Usage (inside the test environment, see tools/run-bench.sh): idle_cpu.py <program.exe> [seconds]
"""

from __future__ import annotations

import os
import subprocess
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "e2e"))

from e2elib import Driver, find_window  # noqa: E402

CLOCK_TICKS = os.sysconf("SC_CLK_TCK")
SETTLE_S = 4.0


def cpu_seconds(pid: int) -> float:
    fields = Path(f"/proc/{pid}/stat").read_text().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / CLOCK_TICKS  # utime + stime


def wineserver_pid() -> int | None:
    found = subprocess.run(["pgrep", "-f", "wineserver"], capture_output=True, text=True).stdout.split()
    prefix = os.environ.get("WINEPREFIX", "")
    for pid in found:
        try:
            if f"WINEPREFIX={prefix}".encode() in Path(f"/proc/{pid}/environ").read_bytes().split(b"\0"):
                return int(pid)
        except OSError:
            continue
    return int(found[0]) if found else None


def dock_at_left_edge(driver: Driver) -> None:
    window = find_window(driver, prefix="墨舟", visible=True, timeout=30)
    driver.call("set_cursor", 900, 700)
    driver.call("move", window, 0, 100)


def idle_cpu(command: list[str], cwd: str, seconds: float, driver: Driver | None = None) -> tuple[float, float]:
    process = subprocess.Popen(command, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        if driver is not None:
            dock_at_left_edge(driver)
        time.sleep(SETTLE_S)
        server = wineserver_pid()
        own_before = cpu_seconds(process.pid)
        server_before = cpu_seconds(server) if server else 0.0
        time.sleep(seconds)
        own = cpu_seconds(process.pid) - own_before
        served = (cpu_seconds(server) - server_before) if server else 0.0
        return own, served
    finally:
        process.kill()
        process.wait()


def main() -> int:
    program = Path(sys.argv[1]).resolve()
    seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 10.0
    wine = os.environ.get("MOZHOU_WINE", "wine")
    ours, ours_server = idle_cpu([wine, str(program)], str(program.parent), seconds)
    theirs, theirs_server = idle_cpu([wine, "notepad.exe"], str(program.parent), seconds)
    driver = Driver().start()
    try:
        docked, docked_server = idle_cpu([wine, str(program)], str(program.parent), seconds, driver)
    finally:
        driver.close()
    print(f"idle CPU over {seconds:.0f} s (process / wineserver)")
    print(f"  program   {ours * 1000:8.0f} ms / {ours_server * 1000:6.0f} ms   away from the edges")
    print(f"  docked    {docked * 1000:8.0f} ms / {docked_server * 1000:6.0f} ms   at the left edge")
    print(f"  notepad   {theirs * 1000:8.0f} ms / {theirs_server * 1000:6.0f} ms")
    notepad = max(theirs + theirs_server, 1e-3)
    print(f"  ratio     {(ours + ours_server) / notepad:8.2f} (goal <= 1.50, both together)")
    print(f"  docked    {(docked + docked_server) / notepad:8.2f} (no goal)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
