"""Windows and controls of the program under test, seen from outside as a user sees them."""

from __future__ import annotations

import time
from dataclasses import dataclass
from pathlib import Path
from typing import Any, Callable, TypeVar

from .driver import Driver, DriverError, DriverGone, DriverTimeout
from .paths import windows_path
from .timing import patient

MS_PER_S = 1000
STATUS_BAR_CLASS = "msctls_statusbar32"
DIALOG_CLASS = "#32770"
POPUP_MENU_CLASS = "#32768"
BST_CHECKED = 1
POLL_INTERVAL_S = 0.05

T = TypeVar("T")


def ms(seconds: float | None) -> int | None:
    return None if seconds is None else int(seconds * MS_PER_S)


DEFAULT_WAIT_S = 5.0


def _poll(read: Callable[[], T], deadline: float, unread: Any = None) -> Any:
    """read(), where a window the program is just replacing or closing reads as not there yet; that
    error is raised only when time is up. A driver that hung or ended is never waited out."""
    try:
        return read()
    except (DriverTimeout, DriverGone):
        raise
    except DriverError:
        if time.monotonic() >= deadline:
            raise
        return unread


def wait_until(condition: Callable[[], T], timeout: float | None = None, message: str = "condition") -> T:
    """Polls until condition() is truthy and returns it; for effects that arrive asynchronously."""
    timeout = patient(DEFAULT_WAIT_S) if timeout is None else timeout
    deadline = time.monotonic() + timeout
    while True:
        value = _poll(condition, deadline)
        if value:
            return value
        if time.monotonic() >= deadline:
            raise TimeoutError(f"{message} not reached within {timeout} s (last value: {value!r})")
        time.sleep(POLL_INTERVAL_S)


def captions(items: list[dict]) -> list[str]:
    """The readable captions of menu items, separators left out."""
    return [item["caption"] for item in items if not item["separator"]]


def wait_for_equal(read: Callable[[], T], expected: T, timeout: float | None = None, what: str = "value") -> T:
    """Polls read() until it equals expected; fails showing the last value seen."""
    timeout = patient(DEFAULT_WAIT_S) if timeout is None else timeout
    deadline = time.monotonic() + timeout
    while True:
        value = _poll(read, deadline, unread := object())
        if value is not unread and value == expected:
            return value
        if time.monotonic() >= deadline:
            raise AssertionError(f"{what}: expected {expected!r}, still {value!r} after {timeout} s")
        time.sleep(POLL_INTERVAL_S)


def _answered(answer: dict) -> bool:
    """The window described in full: its text read, and its check state when it has one."""
    window = answer["window"]
    return not window.get("hung") and window.get("checked", 0) is not None


def locator(
    caption: str | None = None,
    *,
    text: str | None = None,
    prefix: str | None = None,
    contains: str | None = None,
    cls: str | None = None,
    id: int | None = None,
    pid: int | None = None,
    visible: bool | None = None,
    enabled: bool | None = None,
) -> dict[str, Any]:
    """Filter arguments of the driver. caption ignores mnemonics: "是" finds "是(&Y)"."""
    return dict(caption=caption, text=text, prefix=prefix, contains=contains, cls=cls, id=id, pid=pid,
                visible=visible, enabled=enabled)


@dataclass(frozen=True)
class Rect:
    left: int
    top: int
    right: int
    bottom: int

    @classmethod
    def of(cls, values: list[int]) -> "Rect":
        return cls(*values)

    @property
    def width(self) -> int:
        return self.right - self.left

    @property
    def height(self) -> int:
        return self.bottom - self.top

    @property
    def center(self) -> tuple[int, int]:
        return (self.left + self.right) // 2, (self.top + self.bottom) // 2

    def contains(self, x: int, y: int) -> bool:
        return self.left <= x < self.right and self.top <= y < self.bottom


class Window:
    """A top-level window or a control. Properties read the live state on every access."""

    def __init__(self, driver: Driver, hwnd: int, info: dict | None = None):
        self.driver = driver
        self.hwnd = hwnd
        self._class = info["class"] if info else None

    def __repr__(self) -> str:
        return f"{type(self).__name__}(hwnd={self.hwnd}, class={self.class_name!r})"

    def __eq__(self, other: object) -> bool:
        return isinstance(other, Window) and other.hwnd == self.hwnd

    def __hash__(self) -> int:
        return hash(self.hwnd)

    # -- state -----------------------------------------------------------

    def info(self) -> dict:
        return self.driver.read("info", self, settled=_answered)["window"]

    @property
    def exists(self) -> bool:
        try:
            self.info()
            return True
        except DriverError:
            return False

    @property
    def class_name(self) -> str:
        if self._class is None:
            self._class = self.info()["class"]
        return self._class

    @property
    def text(self) -> str:
        return self.driver.read("text", self)["text"]

    @property
    def title(self) -> str:
        return self.text

    @property
    def id(self) -> int | None:
        return self.info().get("id")

    @property
    def pid(self) -> int:
        return self.info()["pid"]

    @property
    def visible(self) -> bool:
        return self.info()["visible"]

    @property
    def enabled(self) -> bool:
        return self.info()["enabled"]

    @property
    def checked(self) -> bool:
        state = self.info().get("checked")
        if state is None:
            raise AssertionError(f"{self!r} is not a check box or radio button")
        return state == BST_CHECKED

    @property
    def rect(self) -> Rect:
        return Rect.of(self.info()["rect"])

    @property
    def client_rect(self) -> Rect:
        """The client area in screen coordinates."""
        return Rect.of(self.info()["client"])

    @property
    def rect_in_parent(self) -> Rect:
        """The outer rectangle in the parent's client coordinates, as a layout gives it."""
        return Rect.of(self.info()["rect_in_parent"])

    def font(self) -> dict:
        """face, height, weight, italic, underline, strikeout, charset, read inside the program."""
        return self.driver.read("font", self)

    def menu(self) -> list[dict]:
        """This window's menu bar, or the items of this open pop-up menu (#32768), read inside
        the program: [{text, caption, id, separator, enabled, checked, items: [...]}].
        caption is the text as the user reads it: "复制(&C)\tCtrl+C" reads "复制"."""
        return self.driver.read("menu", self)["items"]

    # -- finding controls ------------------------------------------------

    def control(self, caption: str | None = None, *, index: int = 0, timeout: float = 0, **filters: Any) -> "Window":
        answer = self.driver.call("child", self, index=index or None, timeout=ms(timeout),
                                  **locator(caption, **filters))
        return Window(self.driver, answer["control"]["hwnd"], answer["control"])

    def controls(self, caption: str | None = None, **filters: Any) -> list["Window"]:
        answer = self.driver.call("children", self, **locator(caption, **filters))
        return [Window(self.driver, c["hwnd"], c) for c in answer["controls"]]

    def status_bar(self) -> "Window":
        return self.control(cls=STATUS_BAR_CLASS)

    # -- acting as the user ----------------------------------------------

    def click(self, wait: float | None = None) -> dict:
        """Clicks a button (BM_CLICK). Answers handled=True once the click's handler has
        returned, modal=True when it opened a box and waits in it."""
        return self.driver.call("click", self, wait=ms(wait))

    def set_text(self, text: str) -> None:
        self.driver.call("set_text", self, text)

    def type_text(self, text: str) -> None:
        """Types each character into this control; "\\n" is the Enter key."""
        self.driver.call("type", self, text)

    def close(self, wait: float | None = None) -> dict:
        """WM_CLOSE, as the close button sends it."""
        return self.driver.call("close", self, wait=ms(wait))

    def bring_to_front(self) -> None:
        self.driver.call("foreground", self)

    def press_keys(self, *keys: str, delay: float | None = None) -> None:
        """Real key presses ("F10", "Alt+F4", "Down") with this window in front."""
        self.bring_to_front()
        self.driver.call("key", *keys, delay=ms(delay))

    def click_at(self, x: int | None = None, y: int | None = None, button: str = "left", count: int = 1) -> dict:
        """A real mouse click at screen coordinates; the middle of this window when none are given."""
        if x is None or y is None:
            x, y = self.rect.center
        return self.driver.call("mouse_click", x, y, button=button, count=count)

    def status_texts(self) -> list[str]:
        """The texts of the parts of this status bar (or of this window's status bar)."""
        bar = self if self.class_name.lower() == STATUS_BAR_CLASS else self.status_bar()
        return [part["text"] for part in self.driver.read("status", bar)["parts"]]

    def status_text(self, part: int) -> str:
        return self.status_texts()[part]

    def wait_gone(self, timeout: float | None = None) -> None:
        wait_until(lambda: not self.exists, timeout, f"{self!r} gone")

    def screenshot(self, path: Path) -> dict:
        return self.driver.call("screenshot", windows_path(path), self)


class MessageBox(Window):
    """A message box (#32770): .title is its caption, .text its message."""

    def dialog(self) -> dict:
        return self.driver.read("dialog", self)

    @property
    def title(self) -> str:
        return self.dialog()["title"]

    @property
    def text(self) -> str:
        return self.dialog()["text"]

    @property
    def buttons(self) -> list[str]:
        """Captions as the user reads them: "是(&Y)" reads "是"."""
        return [b["caption"] for b in self.dialog()["buttons"]]

    def press(self, button: str | int, timeout: float | None = None) -> dict:
        """Presses a button by caption or by id (IDOK=1, IDCANCEL=2, IDYES=6, IDNO=7) and
        waits until the box has closed."""
        if isinstance(button, int):
            answer = self.driver.call("press", self, id=button)
        else:
            answer = self.driver.call("press", self, button)
        self.wait_gone(timeout)
        return answer


def find_window(driver: Driver, caption: str | None = None, *, timeout: float = 0, index: int = 0,
                kind: type[Window] = Window, **filters: Any) -> Window:
    answer = driver.call("window", index=index or None, timeout=ms(timeout), **locator(caption, **filters))
    return kind(driver, answer["window"]["hwnd"], answer["window"])


def find_windows(driver: Driver, caption: str | None = None, *, kind: type[Window] = Window,
                 **filters: Any) -> list[Window]:
    answer = driver.call("windows", **locator(caption, **filters))
    return [kind(driver, w["hwnd"], w) for w in answer["windows"]]
