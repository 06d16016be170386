"""Files dropped on the main and separate-edit windows, and pictures pasted into the picture box."""

from __future__ import annotations

import contextlib
import struct

from e2elib import wait_for_equal, windows_path
from mainwindow import MainWindow, print_dialog
from separate_edit import SeparateEdit
from test_pictures import PICTURE_BOX, make_picture, pixel, screenshot_pixels
from test_print_picture import answer, choose_size, red_box_mm

EM_SETSEL = 0x00B1


def drop_on(window, *paths) -> None:
    window.driver.call("drop_files", window.hwnd, *(windows_path(p) for p in paths), x=20, y=20)


def box_shows(main: MainWindow, tmp_path, colour: tuple[int, int, int]) -> bool:
    """Whether the middle of the picture box shows the colour (stretching may round a channel)."""
    width, height, rows = screenshot_pixels(main, main.by_id(PICTURE_BOX), tmp_path / "box.bmp")
    return all(abs(a - b) <= 5 for a, b in zip(pixel(rows, width // 2, height // 2), colour))


def test_a_dropped_picture_lands_in_the_picture_box_and_a_dropped_text_file_in_the_edit_box(app, tmp_path):
    main = MainWindow(app)
    red = make_picture(tmp_path / "red.png", "xc:#FF0000").rename(tmp_path / "red.txt")  # content decides
    text = tmp_path / "notes.png"
    text.write_bytes("你好，墨舟\nline two".encode("utf-8"))

    drop_on(main.window, red, text)  # a picture first: the pictures among them load, the text does not
    wait_for_equal(lambda: main.picture_option.checked, True)
    assert not main.text_option.checked and main.print_button.enabled and main.print_button.text == "打印图片"
    assert main.edit_box.text == "" and box_shows(main, tmp_path, (255, 0, 0))

    drop_on(main.window, text)
    wait_for_equal(lambda: main.edit_box.text, "你好，墨舟\r\nline two\r\n")
    assert main.text_option.checked and not main.picture_option.checked and main.keep_spaces.checked
    drop_on(main.window, tmp_path)  # a folder cannot be read: nothing changes
    drop_on(main.window, text)
    wait_for_equal(lambda: main.edit_box.text, "你好，墨舟\r\nline two\r\n" * 2)

    separate = SeparateEdit.open(main)
    separate.type_text("AB")
    app.driver.call("send", separate.edit_box, EM_SETSEL, 1, 1)
    drop_on(separate.window, red)  # no text in a picture
    drop_on(separate.window, text)
    wait_for_equal(lambda: separate.text, "A你好，墨舟\r\nline two\r\nB")


def test_a_picture_pasted_from_the_clipboard_shows_and_prints(app, paper, tmp_path):
    main = MainWindow(app)
    driver = app.driver
    x, y = main.by_id(PICTURE_BOX).rect.center

    def paste_picture_item() -> bool:
        """Chooses "粘贴图片" from the picture box's menu when it is enabled; whether it was."""
        main.window.bring_to_front()
        driver.call("mouse_click", x, y, button="right")
        menu = app.popup_menu()
        enabled = next(item["enabled"] for item in menu.menu() if item["text"] == "粘贴图片")
        driver.call("key", "Down", "Down", "Enter" if enabled else "Escape")
        menu.wait_gone()
        return enabled

    driver.call("set_clipboard", "no picture")
    assert not paste_picture_item()
    dib = tmp_path / "red.dib"  # 60 × 40 of 32 bits, the fourth byte unused
    dib.write_bytes(struct.pack("<IiiHHI20x", 40, 60, 40, 1, 32, 0) + bytes([0, 0, 255, 0]) * 2400)
    driver.call("set_clipboard_data", "CF_DIB", windows_path(dib))
    assert paste_picture_item()
    wait_for_equal(lambda: main.picture_option.checked, True)
    assert main.print_button.enabled and main.print_button.text == "打印图片"
    main.print_button.click()
    answer(main, "( Dpi)", 300)
    choose_size(main, by_hand=False)
    print_dialog(app).press(1)
    width, height = red_box_mm(paper)
    assert width > 180 and height > 260

    # Ctrl+V over the picture box, the focus in the edit box.
    main.text_option.click()
    driver.call("set_clipboard_data", "PNG", windows_path(make_picture(tmp_path / "blue.png", "xc:#0000FF")))
    main.edit_box.click_at()
    driver.call("mouse_move", x, y)
    # Once in a full run the first press left the picture box as it was, and the case passed alone
    # every time after (cause not found); a second press still tells a program that ignores the key.
    for _ in range(2):
        driver.call("key", "Ctrl+V")
        with contextlib.suppress(AssertionError):
            wait_for_equal(lambda: main.picture_option.checked, True, timeout=5)
            break
    assert main.picture_option.checked
    assert box_shows(main, tmp_path, (0, 0, 255))

    # A PNG that does not decode leaves the blue picture there.
    damaged = tmp_path / "damaged.png"
    damaged.write_bytes(b"\x89PNG\r\n\x1a\n" + bytes(60))
    driver.call("set_clipboard_data", "PNG", windows_path(damaged))
    driver.call("key", "Ctrl+V")
    wait_for_equal(main.status_message, "图片无法识别，图片未更换")
    assert box_shows(main, tmp_path, (0, 0, 255))
