"""Starting the program: its face right after start, the background picture file, one instance
per executable name, and the close confirmation."""

from __future__ import annotations

import subprocess
from pathlib import Path

import pytest

from mainwindow import LAYOUT, STATUS_BAR, TITLE, MainWindow

REPO = Path(__file__).resolve().parents[2]
BUILT_IN_PICTURE = REPO / "build" / "native" / "assets" / "background.jpg"
BACKGROUND_FILE = "打印机图"


def test_first_start_shows_the_described_window_and_writes_the_background_picture(app):
    main = MainWindow(app)
    window = main.window
    assert window.title == TITLE
    assert window.rect.width == 782 and window.rect.height == 506

    assert main.print_button.text == "打印文本"
    assert not main.print_button.enabled
    for option in (main.text_option, main.picture_option, main.delete_spaces, main.keep_spaces):
        assert not option.checked
    assert main.delete_spaces.enabled and main.keep_spaces.enabled
    assert window.status_text(0) == "状态："
    assert main.status_message() == ""
    assert main.edit_box.text == ""
    assert not any(button.font()["weight"] >= 700 for button in main.command_buttons().values())

    for control_id, (_, left, top, width, height) in LAYOUT.items():
        rect = main.placed_rect(control_id)
        assert (rect.left, rect.top, rect.width, rect.height) == (left, top, width, height), control_id

    written = app.directory.file(BACKGROUND_FILE)
    assert written.read_bytes() == BUILT_IN_PICTURE.read_bytes()
    described = subprocess.run(["identify", "-format", "%m %w %h %[interlace]", f"jpeg:{written}"],
                               capture_output=True, text=True, check=True).stdout
    assert described == "JPEG 384 240 JPEG"  # progressive


def test_status_bar_has_a_label_part_and_a_message_part(app):
    status = MainWindow(app).by_id(STATUS_BAR)
    assert status.status_texts() == ["状态：", ""]


def test_an_existing_background_file_is_kept_as_it_is(program_dir, launch):
    directory = program_dir()
    png = b"\x89PNG\r\n\x1a\n" + b"\0" * 32
    directory.file(BACKGROUND_FILE).write_bytes(png)
    launch(directory)
    assert directory.file(BACKGROUND_FILE).read_bytes() == png


def test_a_second_start_under_the_same_name_is_refused_with_a_prompt(program_dir, launch, driver):
    first = launch()
    second_dir = program_dir()  # another directory, same file name
    second = launch(second_dir, wait=False)
    prompt = second.message_box(caption="提示信息", timeout=30)
    assert prompt.text == "程序已运行，请确定！"
    prompt.press("确定")
    assert second.wait_exit(timeout=30) == 0
    assert first.running

    other_name = launch(exe_name="墨舟二.exe")  # runs beside the first
    assert other_name.running and first.running


def test_a_new_start_succeeds_after_the_first_has_ended(launch):
    first = launch()
    first.close()
    first.message_box(caption="打印机提示：").press("确定")
    assert first.wait_exit(timeout=30) == 0
    again = launch()
    assert again.main_window.title == TITLE


def test_close_asks_first_and_cancel_keeps_the_program(app):
    app.close()
    question = app.message_box(caption="打印机提示：")
    assert question.text == "确定关闭吗？"
    question.press("取消")
    question.wait_gone()
    assert app.running
    assert app.main_window.visible

    app.close()
    app.message_box(caption="打印机提示：").press("确定")
    assert app.wait_exit(timeout=30) == 0
