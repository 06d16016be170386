"""A copy of the program under test in a fresh program directory, started and driven as a user would."""

from __future__ import annotations

import shutil
import tempfile
from pathlib import Path
from typing import Any

from .driver import Driver, DriverError
from .gui import DIALOG_CLASS, POPUP_MENU_CLASS, MessageBox, Window, find_window, find_windows, ms
from .paths import PROGRAM_NAME, program_exe, temp_base, windows_path
from .timing import patient

MAIN_TITLE_PREFIX = "墨舟"
EDIT_CLASS = "Edit"
START_TIMEOUT_S = 30.0
EXIT_TIMEOUT_S = 10.0
MESSAGE_BOX_TIMEOUT_S = 5.0


class ProgramDir:
    """A new directory holding a copy of the executable, perhaps under another name, and of the
    DLLs beside it. Files the program should find at start-up can be put in before it is started."""

    def __init__(self, exe_name: str = PROGRAM_NAME, source: Path | None = None, base: Path | None = None):
        base = base or temp_base()
        base.mkdir(parents=True, exist_ok=True)
        self.path = Path(tempfile.mkdtemp(prefix="run-", dir=base))
        self.exe = self.path / exe_name
        source = source or program_exe()
        shutil.copy2(source, self.exe)
        for library in source.parent.glob("*.dll"):  # the decoders shipped beside the program
            shutil.copy2(library, self.path / library.name)

    def file(self, name: str) -> Path:
        return self.path / name

    def windows_path(self, name: str = "") -> str:
        return windows_path(self.path / name) if name else windows_path(self.path)

    def start(self, driver: Driver, wait_for_main_window: bool = True, timeout: float | None = None) -> "App":
        pid = driver.call("launch", windows_path(self.exe), cwd=self.windows_path())["pid"]
        app = App(driver, pid, self)
        if wait_for_main_window:
            app.wait_main_window(timeout)
        return app

    def remove(self) -> None:
        shutil.rmtree(self.path, ignore_errors=True)


class App:
    """One running process of a program launched by the driver."""

    def __init__(self, driver: Driver, pid: int, directory: ProgramDir | None = None,
                 main_window: dict[str, Any] | None = None):
        self.driver = driver
        self.pid = pid
        self.directory = directory
        self._main_locator = {"prefix": MAIN_TITLE_PREFIX} if main_window is None else main_window
        self._main: Window | None = None

    @classmethod
    def launch(cls, driver: Driver, program: str, *, cwd: str | None = None, args: str | None = None,
               main_window: dict[str, Any] | None = None) -> "App":
        """Any Windows program, e.g. App.launch(driver, "notepad.exe", main_window={"cls": "Notepad"})."""
        pid = driver.call("launch", program, cwd=cwd, args=args)["pid"]
        return cls(driver, pid, main_window=main_window)

    def __repr__(self) -> str:
        return f"App(pid={self.pid}, exe={self.directory.exe if self.directory else None})"

    # -- windows ---------------------------------------------------------

    def wait_main_window(self, timeout: float | None = None) -> Window:
        timeout = patient(START_TIMEOUT_S) if timeout is None else timeout
        self._main = find_window(self.driver, pid=self.pid, visible=True, timeout=timeout, **self._main_locator)
        return self._main

    @property
    def main_window(self) -> Window:
        if self._main is None or not self._main.exists:
            return self.wait_main_window()
        return self._main

    def windows(self, **filters: Any) -> list[Window]:
        return find_windows(self.driver, pid=self.pid, **filters)

    def message_box(self, caption: str | None = None, timeout: float | None = None) -> MessageBox:
        """The message box this process shows, waiting for it; caption is the box's title."""
        timeout = patient(MESSAGE_BOX_TIMEOUT_S) if timeout is None else timeout
        return find_window(self.driver, text=caption, cls=DIALOG_CLASS, pid=self.pid, visible=True,
                           timeout=timeout, kind=MessageBox)

    def message_boxes(self) -> list[MessageBox]:
        return find_windows(self.driver, cls=DIALOG_CLASS, pid=self.pid, visible=True, kind=MessageBox)

    def popup_menu(self, timeout: float | None = None) -> Window:
        """The pop-up menu this process has open (not one a program that is just ending still shows).
        Menus cannot be read from another process under wine: choose items with keys or clicks."""
        timeout = patient(MESSAGE_BOX_TIMEOUT_S) if timeout is None else timeout
        return find_window(self.driver, cls=POPUP_MENU_CLASS, pid=self.pid, visible=True, timeout=timeout)

    def menu_bar(self) -> list[dict]:
        return self.main_window.menu()

    # -- controls of the main window -------------------------------------

    def control(self, caption: str | None = None, **filters: Any) -> Window:
        return self.main_window.control(caption, **filters)

    def click(self, caption: str | None = None, **filters: Any) -> dict:
        return self.control(caption, **filters).click()

    def edit_box(self, index: int = 0) -> Window:
        return self.control(cls=EDIT_CLASS, index=index)

    def type_text(self, text: str, **filters: Any) -> None:
        (self.control(**filters) if filters else self.edit_box()).type_text(text)

    def text(self, caption: str | None = None, **filters: Any) -> str:
        return self.control(caption, **filters).text

    def checked(self, caption: str | None = None, **filters: Any) -> bool:
        return self.control(caption, **filters).checked

    def enabled(self, caption: str | None = None, **filters: Any) -> bool:
        return self.control(caption, **filters).enabled

    def status_texts(self) -> list[str]:
        return self.main_window.status_texts()

    def status_text(self, part: int = 1) -> str:
        return self.main_window.status_text(part)

    def press_keys(self, *keys: str, delay: float | None = None) -> None:
        self.main_window.press_keys(*keys, delay=delay)

    # -- process ---------------------------------------------------------

    def close(self) -> dict:
        """Asks the main window to close (WM_CLOSE), as its close button does."""
        return self.main_window.close()

    @property
    def running(self) -> bool:
        return self.driver.call("wait_exit", self.pid, timeout=0)["exited"] is False

    def wait_exit(self, timeout: float | None = None) -> int:
        timeout = patient(EXIT_TIMEOUT_S) if timeout is None else timeout
        answer = self.driver.call("wait_exit", self.pid, timeout=ms(timeout))
        if not answer["exited"]:
            raise TimeoutError(f"{self!r} still running after {timeout} s")
        return answer["code"]

    def kill(self) -> None:
        try:
            self.driver.call("kill", self.pid)
        except DriverError:
            if self.driver.alive:
                raise


