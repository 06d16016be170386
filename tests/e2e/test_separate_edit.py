"""The separate-edit window: its look, its backup file, save-as, the questions on closing, and which
text the main window prints while it is open."""

from __future__ import annotations

import os

import pytest

from e2elib import Paper, Rect, captions, wait_for_equal, wait_until
from mainwindow import IDOK, MainWindow, answer_chars_per_line, choose_text_printing, print_dialog
from separate_edit import (FILE_TYPE_BOX, HORIZONTAL_RULER, IDNO, IDYES, MENU_ITEMS, PRINT_QUESTION,
                           QUESTION_CAPTION, SAVE_AS_FILTER, SAVE_QUESTION, SC_MINIMIZE, TITLE, VERTICAL_RULER,
                           WM_SYSCOMMAND, WS_MAXIMIZEBOX, WS_MINIMIZE, WS_MINIMIZEBOX, WS_THICKFRAME, SeparateEdit,
                           contents, gbk, open_windows, printout_of, wait_for_contents)
from test_print_text import points

WM_QUERYENDSESSION, WM_ENDSESSION = 0x11, 0x16

# A name of this run's own: a copy that another run on this desktop keeps open under the same
# name would take ours for a second start and refuse it.
EXE_NAME = f"墨舟{os.getpid()}.exe"
# "乗" and "丂" are GBK pairs whose second byte is "\" and "@".
TEXT = "墨舟 backup 乗丂\n第二行 line"


@pytest.fixture
def app(launch):
    return launch(exe_name=EXE_NAME)


def test_title_size_font_menu_and_a_second_opening_keeps_one_window(app):
    main = MainWindow(app)
    separate = SeparateEdit.open(main)
    window = separate.window
    assert window.title == TITLE
    # The system cuts a window to the screen's height plus its frame: 780 on this 768-pixel desktop.
    screen_height = app.driver.call("hello")["screen"][3]
    assert (window.rect.width, window.rect.height) == (832, min(844, screen_height + 12))
    style = window.info()["style"]
    assert style & WS_MINIMIZEBOX and not style & (WS_MAXIMIZEBOX | WS_THICKFRAME)
    assert separate.edit_box.rect_in_parent == Rect(15, 15, 15 + 797, 15 + 780)
    assert points(separate.edit_box.font()) == 14
    assert window.control(id=HORIZONTAL_RULER).visible and window.control(id=VERTICAL_RULER).visible

    menu, (x, y) = separate.open_menu()
    assert captions(menu.menu()) == MENU_ITEMS
    assert (menu.rect.left, menu.rect.top) == (x + 3, y + 3)
    app.driver.call("key", "Escape")
    menu.wait_gone()

    separate.type_text("还在")
    again = SeparateEdit.open(main)  # the main window was in front for its menu
    assert open_windows(main) == [window] and again.window == window
    wait_for_equal(lambda: app.driver.call("foreground")["window"]["hwnd"], window.hwnd)
    assert separate.text == "还在"

    app.driver.call("post", window, WM_SYSCOMMAND, SC_MINIMIZE, 0)
    wait_until(lambda: window.info()["style"] & WS_MINIMIZE, message="minimised")
    SeparateEdit.open(main)
    wait_until(lambda: not window.info()["style"] & WS_MINIMIZE, message="restored")
    assert open_windows(main) == [window]
    assert separate.text == "还在"


def test_save_and_append_the_backup_file(app):
    main = MainWindow(app)
    separate = SeparateEdit.open(main)
    separate.choose("保存")
    wait_for_contents(separate.backup, b"")

    separate.type_text(TEXT)
    assert main.print_button.enabled  # follows this edit box while it is open
    separate.choose("保存")
    wait_for_contents(separate.backup, gbk(TEXT))

    separate.choose("全部删除")
    wait_for_equal(lambda: separate.text, "")
    assert not main.print_button.enabled
    separate.choose("加入打印备份")
    separate.choose("加入打印备份")
    wait_for_equal(lambda: separate.text, (TEXT + TEXT).replace("\n", "\r\n"))
    assert contents(separate.backup) == gbk(TEXT)  # appending leaves the file alone


def test_appending_stops_at_the_first_nul_or_ctrl_z(app):
    main = MainWindow(app)
    separate = SeparateEdit.open(main)
    separate.choose("加入打印备份")  # no backup yet: an empty one is made, nothing is added
    wait_for_contents(separate.backup, b"")
    assert separate.text == ""

    kept = "乗丂表 kept\n"
    for stop in (b"\x00", b"\x1a"):
        separate.backup.write_bytes(gbk(kept) + stop + gbk("丢掉 dropped"))
        separate.choose("全部删除")
        wait_for_equal(lambda: separate.text, "")
        separate.choose("加入打印备份")
        wait_for_equal(lambda: separate.text, kept.replace("\n", "\r\n"), what=f"text before byte {stop!r}")


def test_save_as_adds_txt_only_when_missing_and_cancel_writes_nothing(app):
    main = MainWindow(app)
    separate = SeparateEdit.open(main)
    separate.type_text(TEXT)
    folder = app.directory.path

    separate.save_as(folder / "notes.txt")
    wait_for_contents(folder / "notes.txt", gbk(TEXT))
    separate.save_as(folder / "draft")
    wait_for_contents(folder / "draft.txt", gbk(TEXT))

    # "draft" again writes draft.txt, which exists: it is asked about before it is replaced.
    separate.type_text("更多")
    for answer, expected in ((IDNO, TEXT), (IDYES, TEXT + "更多")):
        separate.save_as(folder / "draft")
        question = app.message_box(caption="确认另存为", timeout=10)
        assert question.text == "draft.txt 已存在。\r\n要替换它吗？"
        question.press(answer)
        question.wait_gone()
        wait_for_contents(folder / "draft.txt", gbk(expected))

    before = sorted(p.name for p in folder.iterdir())
    dialog = separate.save_as_dialog()
    assert SAVE_AS_FILTER in dialog.control(id=FILE_TYPE_BOX).text
    dialog.press("取消")
    app.driver.call("sleep", 500)
    assert sorted(p.name for p in folder.iterdir()) == before
    assert not (folder / "notes.txt.txt").exists()


def test_closing_asks_to_save_yes_keeps_the_text_no_drops_it(app):
    main = MainWindow(app)
    separate = SeparateEdit.open(main)
    separate.window.close()  # nothing typed: no question
    separate.window.wait_gone()
    assert app.message_boxes() == []

    separate = SeparateEdit.open(main)
    separate.backup.write_bytes(gbk("旧的备份 older and longer than the new text"))
    separate.type_text(TEXT)
    question = separate.ask_to_close()
    assert (question.text, question.buttons) == (SAVE_QUESTION, ["是", "否"])
    question.press(IDYES)
    separate.window.wait_gone()
    assert contents(separate.backup) == gbk(TEXT)

    separate = SeparateEdit.open(main)
    separate.type_text("不要了")
    assert main.print_button.enabled
    separate.ask_to_close().press(IDNO)
    separate.window.wait_gone()
    assert contents(separate.backup) == gbk(TEXT)
    assert not main.print_button.enabled
    assert SeparateEdit.open(main).text == ""


def test_closing_the_program_asks_to_save_the_separate_text_first(app):
    main = MainWindow(app)
    separate = SeparateEdit.open(main)
    separate.type_text(TEXT)
    app.close()
    app.message_box(caption="打印机提示：").press(IDOK)
    question = app.message_box(caption=QUESTION_CAPTION)
    assert question.text == SAVE_QUESTION
    question.press(IDYES)
    app.wait_exit()
    assert contents(separate.backup) == gbk(TEXT)


def test_the_end_of_the_windows_session_keeps_the_separate_text_without_asking(app):
    main = MainWindow(app)
    separate = SeparateEdit.open(main)
    separate.backup.write_bytes(gbk("上一次的备份"))
    separate.type_text(TEXT)
    assert app.driver.call("send", main.window, WM_QUERYENDSESSION, 0, 0)["result"] == 1
    app.driver.call("send", main.window, WM_ENDSESSION, 1, 0)
    assert contents(separate.backup) == gbk(TEXT)
    assert contents(separate.backup.with_name("打印备份.bak")) == gbk("上一次的备份")
    assert app.message_boxes() == []


def print_answering(main: MainWindow, answer: int) -> str:
    """Print button, the question answered, 40 characters a line; returns the status once printed."""
    before = main.status_message()
    main.print_button.click()
    question = main.app.message_box(caption=QUESTION_CAPTION)
    assert question.text == PRINT_QUESTION
    question.press(answer)
    answer_chars_per_line(main.app.message_box(caption="每行字数", timeout=10), 40)
    print_dialog(main.app).press(IDOK)
    return wait_until(lambda: (m := main.status_message()) != before and m, timeout=60, message="printed")


def test_printing_asks_whether_to_print_the_separate_text_in_its_larger_font(launch):
    texts = {IDYES: "SEPARATE HEIGHT", IDNO: "MAINBOX HEIGHT"}
    heights = {}
    for answer in (IDYES, IDNO):  # each answer in a program of its own, so each job is its first
        main = MainWindow(launch(exe_name=EXE_NAME))
        choose_text_printing(main)
        main.edit_box.type_text(texts[IDNO])
        SeparateEdit.open(main).type_text(texts[IDYES])
        size = 14 if answer == IDYES else points(main.edit_box.font())
        earlier = set(Paper().files())
        assert print_answering(main, answer).endswith(f"( 字体大小：{size} )")
        printed = printout_of(texts.values(), earlier)
        assert printed.lines() == [texts[answer]]
        top, bottom = printed.render(dpi=288).ink_rows()
        heights[answer] = bottom - top + 1
        main.app.kill()

    # 14 points against the main edit box's 9
    assert 1.35 < heights[IDYES] / heights[IDNO] < 1.8

