"""The separate-edit window (单独编辑), opened from the main edit box's menu: its controls, its own
context menu, its questions and the files it writes."""

from __future__ import annotations

import subprocess
from dataclasses import dataclass
from pathlib import Path
from typing import Iterable

from e2elib import (App, DriverError, MessageBox, Paper, PrintedPdf, Window, find_window, find_windows,
                    wait_for_equal, wait_until, windows_path)
from mainwindow import IDOK, MainWindow, choose_edit_menu_item

WINDOW_CLASS = "MozhouSeparateEdit"
POPUP_MENU_CLASS = "#32768"
OPEN_ITEM = "单独编辑 (适于A4纸)"
TITLE = ("宽：797像素   高：780像素  (默认打印纸张宽度：160mm   高度：240mm   默认字体大小：14    "
         "每张容纳字行数：18行）")
EDIT_BOX, HORIZONTAL_RULER, VERTICAL_RULER = 100, 101, 102
MENU_ITEMS = ["复制", "粘贴", "字体", "对齐方式", "全部删除", "加入打印备份", "保存", "另存为"]
BACKUP_FILE = "打印备份.txt"
QUESTION_CAPTION = "信息："
SAVE_QUESTION = "是否保存？"
PRINT_QUESTION = "是否打印单独编辑的内容？"
SAVE_AS_FILTER = "*.txt"
IDYES, IDNO = 6, 7
WM_SYSCOMMAND, SC_MINIMIZE = 0x0112, 0xF020
WS_MINIMIZE, WS_THICKFRAME, WS_MINIMIZEBOX, WS_MAXIMIZEBOX = 0x20000000, 0x00040000, 0x00020000, 0x00010000
# The system save dialog's file type box, and its file name box (a combo box holding an edit box).
FILE_TYPE_BOX, FILE_NAME_BOX = 1136, 1148


def gbk(text: str) -> bytes:
    """What the program writes for a text: GBK bytes, line breaks as CR LF."""
    return text.replace("\n", "\r\n").encode("gbk")


def open_windows(main: MainWindow) -> list[Window]:
    return find_windows(main.app.driver, cls=WINDOW_CLASS, pid=main.app.pid, visible=True)


@dataclass
class SeparateEdit:
    main: MainWindow
    window: Window

    @classmethod
    def open(cls, main: MainWindow) -> "SeparateEdit":
        choose_edit_menu_item(main, OPEN_ITEM)
        window = find_window(main.app.driver, cls=WINDOW_CLASS, pid=main.app.pid, visible=True, timeout=10)
        return cls(main, window)

    @property
    def app(self) -> App:
        return self.main.app

    @property
    def edit_box(self) -> Window:
        return self.window.control(id=EDIT_BOX)

    @property
    def text(self) -> str:
        return self.edit_box.text

    def type_text(self, text: str) -> None:
        """Types at the end of what is there; "\\n" is the Enter key."""
        self.edit_box.type_text(text)

    @property
    def backup(self) -> Path:
        return self.app.directory.file(BACKUP_FILE)

    # -- the edit box's menu ---------------------------------------------

    def open_menu(self) -> tuple[Window, tuple[int, int]]:
        """Right-clicks inside the edit box near its top left; returns the pop-up and the cursor."""
        box = self.edit_box.rect
        x, y = box.left + 120, box.top + 120
        driver = self.app.driver
        for last_try in (False, True):
            self.window.bring_to_front()
            driver.call("mouse_move", x, y)
            driver.call("mouse_click", x, y, button="right")
            try:
                menu = find_window(driver, cls=POPUP_MENU_CLASS, pid=self.app.pid, visible=True, timeout=3)
                return menu, (x, y)
            except DriverError:  # now and then a click is lost while the window comes to the front
                if last_try:
                    raise

    def choose(self, caption: str) -> None:
        menu, _ = self.open_menu()
        # Keys pressed before the menu takes the keyboard would go to the edit box.
        wait_until(lambda: self.app.driver.call("gui_thread", self.window)["in_menu"], message="menu mode")
        self.app.driver.call("key", *(["Down"] * (MENU_ITEMS.index(caption) + 1)), "Enter")
        menu.wait_gone()
        self.app.driver.call("sleep", 200)  # let the menu's mouse capture go before the next click

    def save_as_dialog(self) -> MessageBox:
        self.choose("另存为")
        return self.app.message_box(caption="另存为", timeout=10)

    def save_as(self, path: Path) -> None:
        """Chooses 另存为 and types the whole Windows path into the dialog's file name box."""
        dialog = self.save_as_dialog()
        name = dialog.control(id=FILE_NAME_BOX).control(cls="Edit")
        name.set_text("")
        name.type_text(windows_path(path))
        dialog.press(IDOK, timeout=10)

    # -- closing ----------------------------------------------------------

    def ask_to_close(self) -> MessageBox:
        """Sends WM_CLOSE, as the close box does; returns the question it asks."""
        self.window.close()
        return self.app.message_box(caption=QUESTION_CAPTION)


def contents(path: Path) -> bytes | None:
    return path.read_bytes() if path.is_file() else None


def wait_for_contents(path: Path, expected: bytes, timeout: float = 5) -> None:
    """Menu commands run once the menu has closed: waits until the file holds expected."""
    wait_for_equal(lambda: contents(path), expected, timeout, what=path.name)


def printout_of(texts: Iterable[str], earlier: set[Path], timeout: float = 60) -> PrintedPdf:
    """The new PDF holding one of texts. The printer's folder is shared with other runs, so their
    jobs may land beside ours; it is left as it is."""
    def find() -> PrintedPdf | None:
        for path in set(Paper().files()) - earlier:
            try:
                if not path.read_bytes().rstrip().endswith(b"%%EOF"):
                    continue
                pdf = PrintedPdf(path)
                if any(text in line for line in pdf.lines() for text in texts):
                    return pdf
            except (OSError, subprocess.CalledProcessError):  # being written, or cleared by another run
                continue
        return None
    return wait_until(find, timeout, "a printout of " + " or ".join(texts))
