"""Fixtures for end-to-end tests. The caller prepares wine (WINEPREFIX, DISPLAY): tools/harness.sh up."""

from __future__ import annotations

import json
import os
import re
import shutil
import subprocess
import sys
from pathlib import Path

import pytest

from e2elib import App, Driver, DriverError, Paper, ProgramDir, exe_required, program_exe, temp_base, windows_path
from e2elib.gui import DIALOG_CLASS, POPUP_MENU_CLASS, ms
from e2elib.leftovers import end_leftovers
from e2elib.paths import driver_exe, page_setup_file, test_build_exe, test_updater_exe
from e2elib.timing import patient

FAILURE_DIR_NAME = "failures"
# A box or menu of a program that has just been ended may take a moment to leave the screen.
LEFTOVER_WINDOW_WAIT_S = 5.0


@pytest.hookimpl(hookwrapper=True)
def pytest_runtest_makereport(item, call):
    outcome = yield
    report = outcome.get_result()
    setattr(item, f"report_{report.when}", report)


class DriverHolder:
    """One driver for the session; replaced when a test left it dead or it no longer answers (a hang is
    killed)."""

    def __init__(self, log_path: Path):
        self.log_path = log_path
        self.driver: Driver | None = None

    def get(self) -> Driver:
        if self.driver is None or not self.driver.responsive():
            if self.driver is not None:
                self.driver.close()
            self.driver = Driver(log_path=self.log_path).start()
        return self.driver

    def close(self) -> None:
        if self.driver is not None:
            self.driver.close()

    def pids(self) -> set[int]:
        pid = self.driver.pid if self.driver is not None else None
        return {pid} if pid else set()


class Started:
    """What one test started: killed, and its directories removed, when the test ends."""

    def __init__(self):
        self.apps: list[App] = []
        self.directories: list[ProgramDir] = []


@pytest.fixture(scope="session")
def driver_holder():
    holder = DriverHolder(temp_base() / "driver-stderr.log")
    yield holder
    holder.close()


@pytest.fixture
def driver(driver_holder) -> Driver:
    try:
        driver_exe()
    except FileNotFoundError as missing:
        if exe_required():
            pytest.fail(str(missing))
        pytest.skip(str(missing))
    return driver_holder.get()


@pytest.fixture(autouse=True)
def clean_slate(driver_holder, driver):
    """Every case starts with a driver that answers, and without what earlier cases started: no copy of
    the program (it would refuse the next start under its name), no box or menu on the screen, and the
    page setup the user keeps at its defaults. What this case leaves is ended when it is over, whatever
    state its driver was left in."""
    _end_leftovers(driver_holder, "before")
    page_setup_file().unlink(missing_ok=True)
    for cls in (DIALOG_CLASS, POPUP_MENU_CLASS):
        driver.call("gone", cls=cls, visible=True, timeout=ms(patient(LEFTOVER_WINDOW_WAIT_S)))
    yield
    _end_leftovers(driver_holder, "after")
    page_setup_file().unlink(missing_ok=True)


def _end_leftovers(holder: DriverHolder, when: str) -> None:
    ended = end_leftovers(keep=holder.pids())
    if ended:
        print(f"[e2e] {when} the case, ended: " + ", ".join(f"{p.pid} {p.path}" for p in ended), file=sys.stderr)


@pytest.fixture
def started(driver_holder, request):
    """Register every App a test starts here. A failed test leaves a screenshot, the list of
    windows and its program directories behind in <MOZHOU_E2E_TMP>/failures."""
    record = Started()
    yield record
    failed = _failed(request.node)
    if failed:
        _save_failure_evidence(driver_holder.get(), request.node, record)  # a new driver if it hung
    for app in record.apps:
        try:
            app.kill()
        except DriverError:  # its driver hung or died: clean_slate ends it from outside
            pass
    if not failed:
        for directory in record.directories:
            directory.remove()


@pytest.fixture
def program_exe_path() -> Path:
    exe = program_exe()
    if not exe.is_file():
        message = f"{exe} does not exist (build it, or set MOZHOU_EXE)"
        if exe_required():
            pytest.fail(message)
        pytest.skip(message)
    return exe


@pytest.fixture
def program_dir(program_exe_path, started):
    """program_dir(exe_name="墨舟.exe") -> a fresh directory holding a copy of the program;
    put files in it, then launch(directory)."""

    def new_dir(exe_name: str = program_exe_path.name) -> ProgramDir:
        directory = ProgramDir(exe_name, source=program_exe_path)
        started.directories.append(directory)
        return directory

    return new_dir


@pytest.fixture
def launch(driver, program_dir, started):
    """launch(directory=None, exe_name=None, wait=True) -> App, killed at the end of the test.
    With wait the main window is on screen when it returns."""

    def start(directory: ProgramDir | None = None, exe_name: str | None = None, wait: bool = True) -> App:
        directory = directory or (program_dir(exe_name) if exe_name else program_dir())
        app = directory.start(driver, wait_for_main_window=False)
        started.apps.append(app)
        if wait:
            app.wait_main_window()
        return app

    return start


@pytest.fixture
def app(launch) -> App:
    """A fresh copy of the program, started in its own directory, main window on screen."""
    return launch()


@pytest.fixture
def paper(request) -> Paper:
    """The test printer's output folder, emptied (after the queue has drained) before the test. A failed
    test leaves copies of what was printed in <MOZHOU_E2E_TMP>/failures."""
    output = Paper()
    output.clear()
    yield output
    if _failed(request.node):
        folder = temp_base() / FAILURE_DIR_NAME
        folder.mkdir(parents=True, exist_ok=True)
        for pdf in output.files():
            shutil.copy2(pdf, folder / f"{_evidence_stem(request.node)}-{pdf.name}")


def _failed(node) -> bool:
    report = getattr(node, "report_call", None)
    return report is not None and report.failed


def _evidence_stem(node) -> str:
    return re.sub(r"[^\w.-]+", "_", node.nodeid)


def _save_failure_evidence(driver: Driver, node, record: Started) -> None:
    folder = temp_base() / FAILURE_DIR_NAME
    folder.mkdir(parents=True, exist_ok=True)
    stem = _evidence_stem(node)
    try:
        driver.call("screenshot", windows_path(folder / f"{stem}.bmp"))
        evidence = {
            "windows": driver.call("windows", visible=True)["windows"],
            "program_directories": [str(d.path) for d in record.directories],
        }
        (folder / f"{stem}.json").write_text(json.dumps(evidence, ensure_ascii=False, indent=1), "utf-8")
    except DriverError as error:
        (folder / f"{stem}.error.txt").write_text(str(error), "utf-8")


def _built(path: Path) -> Path:
    if not path.is_file():
        message = f"{path} does not exist (build the test build, or set MOZHOU_UPDATE_TEST_EXE and MOZHOU_UPDATER_TEST_EXE)"
        pytest.fail(message) if exe_required() else pytest.skip(message)
    return path


@pytest.fixture
def test_build() -> Path:
    """The test build of the program, which asks the update server below."""
    return _built(test_build_exe())


@pytest.fixture
def test_updater() -> Path:
    return _built(test_updater_exe())


@pytest.fixture
def update_server():
    """The test build's update server on 127.0.0.1, serving nothing until the case puts files on it."""
    from e2elib.update_server import UpdateServer

    server = UpdateServer().start()
    yield server
    server.stop()



@pytest.fixture
def screen_dpi(driver):
    """screen_dpi(dpi): Wine's screen resolution (LogPixels, as winecfg sets it) and, for windows scaled to 150 %, a
    desktop as large as the X screen. A Wine process reads the one when it starts, Wine the other: Wine restarts, with
    the driver, ending what ran. The prefix's 96 dpi and 1024x768 (tools/harness.sh) come back after the test."""

    def switch(dpi: int, desktop: str = "1280x1024") -> None:
        driver.close()
        subprocess.run(["wineserver", "-k"], capture_output=True)
        subprocess.run(["wineserver", "-w"], capture_output=True, timeout=60)
        for key, name, kind, value in ((r"HKCU\Control Panel\Desktop", "LogPixels", "REG_DWORD", str(dpi)),
                                       (r"HKCU\Software\Wine\Explorer\Desktops", "Default", "REG_SZ", desktop)):
            subprocess.run([os.environ.get("MOZHOU_WINE", "wine"), "reg", "add", key, "/v", name, "/t", kind, "/d",
                            value, "/f"], check=True, capture_output=True, timeout=120)
        driver.start()
        switched.append(dpi)

    switched: list[int] = []
    yield switch
    if switched:
        switch(96, "1024x768")
