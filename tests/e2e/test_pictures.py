"""Pictures in the main window: the background picture shown at start, the find button's picture
and text branches, and replacing the background picture."""

from __future__ import annotations

import struct
import subprocess
from pathlib import Path

import pytest

from e2elib import wait_for_equal, wait_until, windows_path
from mainwindow import MainWindow

PICTURE_BOX = 104
BACKGROUND_FILE = "打印机图"
OPEN_DIALOG_CAPTION = "打开"
FILE_NAME_BOX = 1148  # the open dialog's file name box: a combo box holding an edit box
IDOK, IDCANCEL = 1, 2


def screenshot_pixels(main: MainWindow, window, path: Path) -> tuple[int, int, list[bytes]]:
    """The window as it is on screen, its main window in front: width, height and rows of BGR
    bytes, top row first."""
    main.window.bring_to_front()
    main.app.driver.call("sleep", 200)
    window.screenshot(path)
    data = path.read_bytes()
    offset, = struct.unpack_from("<I", data, 10)
    width, height = struct.unpack_from("<ii", data, 18)
    stride = (width * 3 + 3) & ~3
    rows = [data[offset + y * stride: offset + y * stride + width * 3] for y in range(abs(height))]
    return width, abs(height), rows if height < 0 else rows[::-1]


def pixel(rows: list[bytes], x: int, y: int) -> tuple[int, int, int]:
    blue, green, red = rows[y][3 * x: 3 * x + 3]
    return red, green, blue


def is_red(colour: tuple[int, int, int]) -> bool:
    """Red after stretching, which may round a channel by one or two."""
    red, green, blue = colour
    return red >= 250 and green <= 5 and blue <= 5


def colours_in(rows: list[bytes]) -> set[bytes]:
    return {row[i: i + 3] for row in rows for i in range(0, len(row), 3)}


def choose_file(main: MainWindow, path: Path | None) -> None:
    """Answers the open-file dialog: types the file's full name, or cancels when path is None."""
    dialog = main.app.message_box(caption=OPEN_DIALOG_CAPTION, timeout=10)
    if path is None:
        dialog.press(IDCANCEL, timeout=10)
        return
    name = dialog.control(id=FILE_NAME_BOX).control(cls="Edit")
    name.set_text("")
    name.type_text(windows_path(path))
    dialog.press(IDOK, timeout=10)


def make_picture(path: Path, canvas: str, size: str = "60x40") -> Path:
    subprocess.run(["convert", "-size", size, canvas, path.as_posix()], check=True)
    return path


def test_the_second_start_shows_the_background_picture(program_dir, launch, tmp_path):
    directory = program_dir()
    first = launch(directory)
    main = MainWindow(first)
    _, _, rows = screenshot_pixels(main, main.by_id(PICTURE_BOX), tmp_path / "first.bmp")
    assert len(colours_in(rows)) <= 3  # face colour and border: the written picture shows next time
    first.kill()

    second = launch(directory)
    main = MainWindow(second)
    _, _, rows = screenshot_pixels(main, main.by_id(PICTURE_BOX), tmp_path / "second.bmp")
    assert len(colours_in(rows)) > 200


def test_find_loads_a_picture_by_its_content_and_cancel_changes_nothing(app, tmp_path):
    main = MainWindow(app)
    main.picture_option.click()
    assert not main.print_button.enabled

    main.window.control("查找").click()
    choose_file(main, None)
    assert not main.print_button.enabled

    # A PNG whose name says JPEG: the content decides.
    picture = make_picture(tmp_path / "红.jpg", "xc:#FF0000", "120x90")
    picture.write_bytes(subprocess.run(["convert", picture.as_posix(), "png:-"], capture_output=True,
                                       check=True).stdout)
    main.window.control("查找").click()
    choose_file(main, picture)
    wait_for_equal(lambda: main.print_button.enabled, True)
    assert not main.keep_spaces.checked and not main.delete_spaces.checked

    box = main.by_id(PICTURE_BOX)
    width, height, rows = wait_until(
        lambda: (shot := screenshot_pixels(main, box, tmp_path / "box.bmp")) and
        is_red(pixel(shot[2], shot[0] // 2, shot[1] // 2)) and shot,
        timeout=10, message="the red picture in the box")
    # Stretched over the whole box, inside its border.
    assert is_red(pixel(rows, 3, 3)) and is_red(pixel(rows, width - 4, height - 4))

    # A picture that does not decode leaves the red one; one cut short takes its place, as far as it goes.
    damaged = tmp_path / "damaged.png"
    damaged.write_bytes(picture.read_bytes()[:40])
    main.window.control("查找").click()
    choose_file(main, damaged)
    wait_for_equal(main.status_message, "图片无法识别，图片未更换")
    _, _, rows = screenshot_pixels(main, box, tmp_path / "kept.bmp")
    assert is_red(pixel(rows, width // 2, height // 2))
    main.window.control("查找").click()
    choose_file(main, cut_picture(tmp_path / "cut.jpg"))
    wait_for_equal(main.status_message, "图片不完整")
    wait_until(lambda: not is_red(pixel(screenshot_pixels(main, box, tmp_path / "cut.bmp")[2], 3, 3)))


def cut_picture(path: Path) -> Path:
    """A JPEG cut in half, as a download cut short."""
    data = make_picture(path, "gradient:blue-yellow", "200x150").read_bytes()
    path.write_bytes(data[:len(data) // 2])
    return path


@pytest.mark.parametrize("encoded", [
    lambda text: text.encode("gbk") + b"\x1ahidden",  # Ctrl-Z ends a GBK text
    lambda text: text.encode("utf-8"),
    lambda text: text.encode("utf-8-sig"),
    lambda text: text.encode("utf-16"),  # little-endian, with its mark
    lambda text: text.encode("utf-16-be"),  # without a mark: its zero bytes tell
], ids=["gbk", "utf-8", "utf-8 with mark", "utf-16", "utf-16 without mark"])
def test_find_in_text_mode_appends_the_file_line_by_line(app, tmp_path, encoded):
    main = MainWindow(app)
    main.text_option.click()
    main.delete_spaces.click()
    main.edit_box.type_text("已有")
    text_file = tmp_path / "行.txt"
    text_file.write_bytes(encoded("第一行\n第二行 two\r\n\r\n末行"))

    main.window.control("查找").click()
    choose_file(main, text_file)
    wait_for_equal(lambda: main.edit_box.text, "已有第一行\r\n第二行 two\r\n\r\n末行\r\n")
    assert main.keep_spaces.checked and not main.delete_spaces.checked
    assert main.status_message() == ("文件中有结束符，其后的内容未载入" if b"\x1a" in text_file.read_bytes() else "")
    assert main.print_button.enabled


def test_change_background_keeps_the_picture_unless_the_file_is_one(app, tmp_path):
    main = MainWindow(app)
    background = app.directory.file(BACKGROUND_FILE)
    wait_until(background.exists, message="the background file written at start")
    before = background.read_bytes()

    def change_background(path: Path) -> None:
        app.main_window.press_keys("F10", "Down", "Down", "Enter")  # 菜单 > 更换背景图
        choose_file(main, path)

    not_a_picture = tmp_path / "seven.png"
    not_a_picture.write_bytes(b"\x89PNG\r\n\x1a")
    change_background(not_a_picture)
    wait_for_equal(main.status_message, "所选文件不是图片，背景图未更换")
    assert background.read_bytes() == before

    picture = make_picture(tmp_path / "blue.gif", "xc:#0000FF")
    change_background(picture)
    wait_for_equal(main.status_message, "更换背景图成功")
    assert background.read_bytes() == picture.read_bytes()
    assert not list(app.directory.path.glob(BACKGROUND_FILE + ".*"))  # no temporary file left

    # A file that starts as a picture but does not decode is no picture either.
    damaged = tmp_path / "damaged.png"
    damaged.write_bytes(make_picture(tmp_path / "red.png", "xc:#FF0000").read_bytes()[:40])
    change_background(damaged)
    wait_for_equal(main.status_message, "所选文件不是图片，背景图未更换")
    assert background.read_bytes() == picture.read_bytes()

    change_background(cut_picture(tmp_path / "cut.jpg"))
    wait_for_equal(main.status_message, "图片不完整，背景图未更换")
    assert background.read_bytes() == picture.read_bytes()
