"""The main window as a user sees it: its controls by role, and the layout they should have."""

from __future__ import annotations

from dataclasses import dataclass

from e2elib import App, MessageBox, wait_until
from e2elib.gui import Rect, Window

TITLE = "墨舟" + " " * 50 + "版本号：3.2"

# Control ids of the main window, as the program numbers them.
GROUP_IDS = {"图片": 100, "文本": 101, "设置": 102, "打印": 103}
PICTURE_BOX, EDIT_BOX = 104, 105
DELETE_SPACES, KEEP_SPACES, TEXT_OPTION, PICTURE_OPTION = 106, 107, 108, 109
FIND, PRINT, CANCEL, STOP = 110, 111, 112, 113
STATUS_BAR = 114

# Where each control belongs: (group box caption or None, left, top, width, height).
LAYOUT = {
    GROUP_IDS["图片"]: (None, 8, 8, 376, 320),
    GROUP_IDS["文本"]: (None, 392, 8, 376, 320),
    GROUP_IDS["设置"]: (None, 8, 336, 376, 96),
    GROUP_IDS["打印"]: (None, 392, 336, 376, 96),
    PICTURE_BOX: ("图片", 8, 16, 360, 296),
    EDIT_BOX: ("文本", 8, 16, 360, 296),
    DELETE_SPACES: ("设置", 64, 24, 96, 24),
    KEEP_SPACES: ("设置", 64, 64, 96, 24),
    TEXT_OPTION: ("设置", 224, 24, 96, 24),
    PICTURE_OPTION: ("设置", 224, 64, 96, 24),
    FIND: ("打印", 64, 24, 96, 24),
    PRINT: ("打印", 64, 64, 96, 24),
    CANCEL: ("打印", 224, 24, 96, 24),
    STOP: ("打印", 224, 64, 96, 24),
    STATUS_BAR: (None, 0, 436, 782, 20),
}


@dataclass
class MainWindow:
    app: App

    @property
    def window(self) -> Window:
        return self.app.main_window

    def by_id(self, control_id: int) -> Window:
        return self.window.control(id=control_id)

    @property
    def print_button(self) -> Window:
        return self.by_id(PRINT)

    @property
    def text_option(self) -> Window:
        return self.by_id(TEXT_OPTION)

    @property
    def picture_option(self) -> Window:
        return self.by_id(PICTURE_OPTION)

    @property
    def delete_spaces(self) -> Window:
        return self.by_id(DELETE_SPACES)

    @property
    def keep_spaces(self) -> Window:
        return self.by_id(KEEP_SPACES)

    @property
    def edit_box(self) -> Window:
        return self.by_id(EDIT_BOX)

    def command_buttons(self) -> dict[str, Window]:
        return {name: self.by_id(i) for name, i in (("查找", FIND), ("打印", PRINT), ("取消", CANCEL), ("停止", STOP))}

    def status_message(self) -> str:
        return self.window.status_text(1)

    def placed_rect(self, control_id: int) -> Rect:
        """Where the control is, relative to its group box when it is in one."""
        group, *_ = LAYOUT[control_id]
        rect = self.by_id(control_id).rect_in_parent
        if group is None:
            return rect
        box = self.by_id(GROUP_IDS[group]).rect_in_parent
        return Rect(rect.left - box.left, rect.top - box.top, rect.right - box.left, rect.bottom - box.top)


# Tray icon notifications reach the main window as this message, with the mouse message as lParam.
TRAY_MESSAGE = 0x8000 + 1
WM_LBUTTONDBLCLK = 0x0203
WM_RBUTTONUP = 0x0205
EDIT_MENU_ITEMS = ["复制", "粘贴", "字体", "对齐方式", "全部删除", "单独编辑 (适于A4纸)", "打印预览", "页面设置"]


def open_edit_menu(main: MainWindow) -> tuple[Window, tuple[int, int]]:
    """Right-clicks the middle of the edit box; returns the pop-up menu and where the cursor was."""
    x, y = main.edit_box.rect.center
    main.window.bring_to_front()
    main.app.driver.call("mouse_move", x, y)
    main.app.driver.call("mouse_click", x, y, button="right")
    return main.app.popup_menu(), (x, y)


def choose_edit_menu_item(main: MainWindow, caption: str) -> None:
    menu, _ = open_edit_menu(main)
    downs = EDIT_MENU_ITEMS.index(caption) + 1
    main.app.driver.call("key", *(["Down"] * downs), "Enter")
    menu.wait_gone()
    main.app.driver.call("sleep", 200)  # let the menu's mouse capture go before the next click


# -- printing text ---------------------------------------------------------

CHARS_PER_LINE_CAPTION = "每行字数"
PRINT_DIALOG_CAPTION = "打印"  # the system print dialog under this locale
PROGRESS_CAPTION = "正在进行打印，请稍候 ......"
NOTICE_CAPTION = "提示信息"
FONT_DIALOG_CAPTION = "字体"
IDOK, IDCANCEL = 1, 2
EM_SETSEL = 0x00B1
WM_GETTEXTLENGTH = 0x000E
# The system font dialog's face, size and colour boxes.
FONT_FACE_BOX, FONT_SIZE_BOX, FONT_COLOUR_BOX = 1136, 1138, 1139
FONT_COLOURS = 16


def choose_text_printing(main: MainWindow, delete_spaces: bool = False) -> None:
    main.text_option.click()
    (main.delete_spaces if delete_spaces else main.keep_spaces).click()


def paste_text(main: MainWindow, text: str) -> None:
    """Replaces the edit box's text through the clipboard and its menu, as a user pastes a long text."""
    text = text.replace("\n", "\r\n")
    driver = main.app.driver
    driver.call("set_clipboard", text)
    driver.call("send", main.edit_box, EM_SETSEL, 0, -1)
    choose_edit_menu_item(main, "粘贴")
    units = len(text.encode("utf-16-le")) // 2  # the edit box counts UTF-16 units
    wait_until(lambda: driver.call("send", main.edit_box, WM_GETTEXTLENGTH)["result"] == units, timeout=60,
               message="pasted text")


def ask_chars_per_line(main: MainWindow) -> MessageBox:
    """Presses the print button; returns the box asking for the characters per line."""
    main.print_button.click()
    return main.app.message_box(caption=CHARS_PER_LINE_CAPTION, timeout=10)


def answer_chars_per_line(box: MessageBox, count: int) -> None:
    box.control(cls="Edit").type_text(str(count))  # the 80 it offers is selected: typing replaces it
    box.press(IDOK)


def print_dialog(app: App) -> MessageBox:
    return app.message_box(caption=PRINT_DIALOG_CAPTION, timeout=10)


def start_printing(main: MainWindow, chars_per_line: int) -> None:
    """Print button, characters per line, OK in the print dialog; returns once the job runs."""
    answer_chars_per_line(ask_chars_per_line(main), chars_per_line)
    print_dialog(main.app).press(IDOK)


def print_text(main: MainWindow, chars_per_line: int, timeout: float = 60) -> str:
    """Prints the edit box's text; returns the status message once the job is done."""
    before = main.status_message()
    start_printing(main, chars_per_line)
    return wait_until(lambda: (m := main.status_message()) != before and m, timeout=timeout,
                      message="status message after printing")


def choose_edit_font(main: MainWindow, face: str, points: int, colour: str | None = None) -> None:
    """Picks face, size and colour (by its name, e.g. "红色") in the font dialog of the edit box's menu."""
    choose_edit_menu_item(main, "字体")
    dialog = main.app.message_box(caption=FONT_DIALOG_CAPTION, timeout=10)
    driver = main.app.driver
    # Typing an exact face or size selects it; the size is typed last so the dialog takes both.
    for box, value in ((FONT_FACE_BOX, face), (FONT_SIZE_BOX, str(points))):
        edit = dialog.control(id=box).control(cls="Edit")
        driver.call("send", edit, EM_SETSEL, 0, -1)
        edit.type_text(value)
    if colour is not None:
        colours = dialog.control(id=FONT_COLOUR_BOX)
        dialog.press_keys("Alt+C")
        for _ in range(FONT_COLOURS):
            if colours.text == colour:
                break
            driver.call("key", "Down")
        assert colours.text == colour, f"no colour {colour} in the font dialog"
    dialog.press(IDOK)
