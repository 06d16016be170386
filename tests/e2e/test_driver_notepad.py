"""The driver against wine's own programs: proves it works whatever state the program under test is in."""

from __future__ import annotations

import pytest

from e2elib import App, DriverError, captions, wait_for_equal, wait_until

NOTEPAD_CLASS = "Notepad"
GBK_CODE_PAGE = 936
EM_SETSEL = 0x00B1
SELECT_ALL = (0, -1)
IDOK = 1
IDNO = 7
REGULAR_WEIGHT = 400
# A pop-up menu opens with its top-left corner at the point it was asked for, or a pixel off.
MENU_PLACEMENT_SLACK = 3


@pytest.fixture
def notepad(driver, started) -> App:
    app = App.launch(driver, "notepad.exe", main_window={"cls": NOTEPAD_CLASS})
    started.apps.append(app)
    app.wait_main_window()
    return app


def test_wine_runs_with_the_chinese_code_page(driver):
    assert driver.call("hello")["acp"] == GBK_CODE_PAGE


def test_driver_answers_errors_and_keeps_going(driver):
    with pytest.raises(DriverError, match="unknown command"):
        driver.call("no_such_command")
    with pytest.raises(DriverError, match="no such window"):
        driver.call("text", 1)
    with pytest.raises(DriverError, match="no window matches"):
        driver.call("window", text="没有这个窗口", timeout=100)
    with pytest.raises(DriverError, match="has no argument"):
        driver.call("windows", colour="red")
    assert driver.call("hello")["protocol"]


def test_typed_text_reads_back_from_the_edit_box(notepad):
    edit = notepad.edit_box()
    edit.type_text("墨舟 e2e\n第二行")
    assert edit.text == "墨舟 e2e\r\n第二行"


def test_keyboard_input_reaches_the_focused_edit_box(notepad, driver):
    notepad.main_window.bring_to_front()
    driver.call("input_text", "键盘输入")
    edit = notepad.edit_box()
    wait_for_equal(lambda: edit.text, "键盘输入", what="text typed on the keyboard")


def test_clipboard_text_is_pasted_and_copied_with_the_keyboard(notepad, driver):
    driver.call("set_clipboard", "剪贴板里的字")
    notepad.press_keys("Ctrl+V")
    edit = notepad.edit_box()
    wait_for_equal(lambda: edit.text, "剪贴板里的字", what="pasted text")

    driver.call("clear_clipboard")
    assert driver.call("clipboard")["text"] is None
    driver.call("send", edit, EM_SETSEL, *SELECT_ALL)
    notepad.press_keys("Ctrl+C")
    wait_for_equal(lambda: driver.call("clipboard")["text"], "剪贴板里的字", what="copied text")


def test_help_menu_opens_the_about_box_by_keyboard(notepad):
    notepad.press_keys("Alt+H", "Up", "Enter")
    about = notepad.message_box()
    assert "记事本" in about.title or "Notepad" in about.title
    about.press(IDOK)
    assert notepad.message_boxes() == []


def test_right_click_opens_a_popup_menu_at_the_pointer(notepad, driver):
    edit = notepad.edit_box()
    notepad.main_window.bring_to_front()
    pointer = edit.click_at(button="right")
    menu = notepad.popup_menu()
    assert 0 <= menu.rect.left - pointer["x"] <= MENU_PLACEMENT_SLACK
    assert 0 <= menu.rect.top - pointer["y"] <= MENU_PLACEMENT_SLACK
    assert "全选" in captions(menu.menu())
    driver.call("key", "Escape")
    menu.wait_gone()


def test_menu_bar_is_read_from_inside_the_program(notepad):
    menus = notepad.menu_bar()
    assert captions(menus)[-1] == "帮助"
    assert captions(menus[-1]["items"])[-1] == "关于记事本"


def test_fonts_are_described_from_inside_the_program(notepad):
    edit_font = notepad.edit_box().font()
    assert edit_font["face"] and edit_font["weight"] == REGULAR_WEIGHT
    assert notepad.main_window.font()["stock"] == "SYSTEM_FONT"


def test_closing_a_changed_document_asks_and_no_discards_it(notepad):
    notepad.type_text("未保存的改动")
    assert notepad.close()["modal"], "the close handler should be waiting in its question"
    question = notepad.message_box()
    assert "未命名" in question.text or "Untitled" in question.text
    assert len(question.buttons) == 3
    question.press(IDNO)
    assert notepad.wait_exit() == 0


def test_status_bar_parts_are_read_from_another_process(driver, started):
    taskmgr = App.launch(driver, "taskmgr.exe", main_window={})
    started.apps.append(taskmgr)
    window = taskmgr.wait_main_window()
    counted = wait_until(lambda: [t for t in window.status_texts() if any(c.isdigit() for c in t)],
                         message="a count in the status bar")
    assert len(window.status_texts()) >= 2
    assert counted
