"""The main window's small commands: print mode, space options, the print button's state, the
edit box's context menu, the command buttons, the tray icon and the about box."""

from __future__ import annotations

import time

from e2elib import DriverError, wait_for_equal, wait_until
from mainwindow import (EDIT_MENU_ITEMS, TRAY_MESSAGE, WM_LBUTTONDBLCLK, WM_RBUTTONUP, MainWindow,
                        choose_edit_menu_item, open_edit_menu)


def test_mode_options_switch_the_space_options_and_the_print_button(app):
    main = MainWindow(app)
    main.text_option.click()
    main.text_option.click()  # clicking the checked option keeps it checked
    assert main.text_option.checked and not main.picture_option.checked
    assert main.keep_spaces.checked and not main.delete_spaces.checked
    assert main.print_button.text == "打印文本"

    main.picture_option.click()
    assert main.picture_option.checked and not main.text_option.checked
    assert not main.keep_spaces.checked and not main.delete_spaces.checked
    assert not main.keep_spaces.enabled and not main.delete_spaces.enabled
    assert main.print_button.text == "打印图片"
    assert not main.print_button.enabled  # no picture on a first start

    main.edit_box.type_text("文字")
    assert main.print_button.enabled  # typing decides, whatever the mode

    main.text_option.click()
    assert main.keep_spaces.enabled and main.keep_spaces.checked
    main.delete_spaces.click()
    assert main.delete_spaces.checked and not main.keep_spaces.checked


def test_clear_copy_and_paste_from_the_edit_box_menu(app):
    main = MainWindow(app)
    main.edit_box.type_text("第一行")
    assert main.print_button.enabled

    menu, (x, y) = open_edit_menu(main)
    assert [item["caption"] for item in menu.menu()] == EDIT_MENU_ITEMS
    assert (menu.rect.left, menu.rect.top) == (x + 3, y + 3)
    app.driver.call("key", "Escape")
    menu.wait_gone()
    app.driver.call("sleep", 200)

    app.driver.call("set_clipboard", "旧的")
    app.driver.call("send", main.edit_box, 0x00B1, 0, 0)  # EM_SETSEL: nothing selected
    choose_edit_menu_item(main, "复制")
    wait_for_equal(lambda: app.driver.call("clipboard")["text"], "")

    app.driver.call("clear_clipboard")
    app.driver.call("send", main.edit_box, 0x00B1, 0, 3)  # select "第一行"
    choose_edit_menu_item(main, "粘贴")
    wait_for_equal(lambda: main.edit_box.text, "")

    main.edit_box.type_text("再来")
    choose_edit_menu_item(main, "全部删除")
    wait_for_equal(lambda: main.edit_box.text, "")
    assert not main.print_button.enabled


def test_cancelling_the_first_font_dialog_gives_song_ti(app):
    main = MainWindow(app)
    menu, _ = open_edit_menu(main)
    app.driver.call("key", "Down", "Down", "Down", "Enter")
    dialog = app.message_box(caption="字体", timeout=10)
    dialog.press("取消")
    font = wait_until(lambda: (f := main.edit_box.font())["face"] == "宋体" and f, message="宋体")
    assert font["weight"] < 700 and not font["italic"]


def test_stop_before_any_job_only_reports_and_emphasises(app):
    main = MainWindow(app)
    main.command_buttons()["停止"].click()
    assert main.status_message() == "停止打印"
    weights = {name: button.font()["weight"] for name, button in main.command_buttons().items()}
    assert weights["停止"] >= 700
    assert all(weight < 700 for name, weight in weights.items() if name != "停止")

    main.command_buttons()["取消"].click()
    assert main.status_message() == "取消打印"
    assert main.command_buttons()["取消"].font()["weight"] >= 700
    assert main.command_buttons()["停止"].font()["weight"] < 700


def test_double_clicking_the_tray_icon_hides_and_shows_the_window(app):
    main = MainWindow(app)
    app.driver.call("post", main.window, TRAY_MESSAGE, 1, WM_LBUTTONDBLCLK)
    wait_for_equal(lambda: main.window.visible, False)
    app.driver.call("post", main.window, TRAY_MESSAGE, 1, WM_LBUTTONDBLCLK)
    wait_for_equal(lambda: main.window.visible, True)


def open_about_box(app):
    app.main_window.press_keys("F10", "Down", "Down", "Down", "Enter")
    return app.message_box(caption="关于作者", timeout=10)


def test_the_about_box_counts_down_and_closes_itself(app):
    box = open_about_box(app)
    opened = time.monotonic()
    assert box.text.startswith("墨舟工作室") and "“第三方软件许可.txt”" in box.text
    wait_until(lambda: "(5)" in box.text, timeout=3, message="(5)")
    wait_until(lambda: "(1)" in box.text, timeout=6, message="(1)")
    box.wait_gone(timeout=4)
    assert 4.5 < time.monotonic() - opened < 9


def test_an_about_box_closed_early_leaves_the_count_where_it_was(app):
    box = open_about_box(app)
    wait_until(lambda: "(4)" in box.text, timeout=4, message="(4)")
    box.press("确定")
    time.sleep(1.5)  # the next tick finds no box and stops the timer
    box = open_about_box(app)
    wait_until(lambda: "(3)" in box.text, timeout=3, message="(3)")
    box.wait_gone(timeout=6)


def test_a_window_docked_at_the_left_edge_slides_out_and_back(app):
    main = MainWindow(app)
    window = main.window
    start = window.rect
    grab_x, grab_y = start.left + 300, start.top + 8  # on the title bar
    app.driver.call("mouse_move", grab_x, grab_y)
    app.driver.call("mouse_down", grab_x, grab_y)
    for step in range(1, 11):
        app.driver.call("mouse_move", grab_x - 60 * step, grab_y)
    app.driver.call("mouse_up", grab_x - 600, grab_y)
    docked = window.rect
    assert docked.left == 0 and docked.width == start.width  # dragging stops at the edge

    app.driver.call("mouse_move", 1000, 700)  # the mouse leaves the window
    wait_for_equal(lambda: window.rect.right, 1, timeout=5)
    assert window.rect.width == start.width

    app.driver.call("mouse_move", 0, docked.top + 100)  # onto the strip
    wait_for_equal(lambda: window.rect.left, 0, timeout=5)


def test_alignment_changes_the_edit_box_but_not_its_text(app):
    main = MainWindow(app)
    main.edit_box.type_text("居中的字")
    open_edit_menu(main)
    app.driver.call("key", "Down", "Down", "Down", "Down", "Right", "Down", "Enter")
    ES_CENTER, ES_RIGHT = 0x1, 0x2

    def centred() -> bool | None:
        try:
            return bool(main.edit_box.info()["style"] & ES_CENTER)
        except DriverError:
            return None  # the box is made anew: the old one may be found as it goes

    wait_until(centred, message="centred")
    assert main.edit_box.text == "居中的字"
    assert main.edit_box.rect_in_parent == main.by_id(105).rect_in_parent
    assert main.print_button.enabled

    # The box made anew still opens the program's own menu, however often it is made.
    menu, _ = open_edit_menu(main)
    app.driver.call("key", "Down", "Down", "Down", "Down", "Right", "Enter")  # 左对齐
    menu.wait_gone()
    wait_until(lambda: centred() is False, message="left aligned")
    app.driver.call("sleep", 200)  # let the menu's mouse capture go before the next click
    menu, (x, y) = open_edit_menu(main)
    assert [item["caption"] for item in menu.menu()] == EDIT_MENU_ITEMS
    assert (menu.rect.left, menu.rect.top) == (x + 3, y + 3)
    app.driver.call("key", "Escape")
    menu.wait_gone()


def test_the_tray_menu_opens_right_aligned_above_and_left_of_the_cursor(app):
    main = MainWindow(app)
    app.driver.call("mouse_move", 700, 600)
    wait_for_equal(lambda: (lambda c: (c["x"], c["y"]))(app.driver.call("cursor")), (700, 600))
    time.sleep(0.2)  # the pointer reaches the program's own view of it a little later
    app.driver.call("post", main.window, TRAY_MESSAGE, 1, WM_RBUTTONUP)
    menu = app.popup_menu()
    assert [item["caption"] for item in menu.menu()] == ["升级", "更换背景图", "关于", ADD, REMOVE]
    assert (menu.rect.right, menu.rect.top) == (695, 595)
    app.driver.call("key", "Escape")
    menu.wait_gone()


ADD, REMOVE = "在右键菜单中添加“用墨舟打印”", "从右键菜单中移除“用墨舟打印”"


def test_the_tray_menu_adds_and_removes_the_explorer_menu_entry(app):
    main = MainWindow(app)

    def choose(*keys: str) -> dict[str, bool]:  # which of the two are enabled, then chosen by keys
        app.driver.call("post", main.window, TRAY_MESSAGE, 1, WM_RBUTTONUP)
        menu = app.popup_menu()
        enabled = {item["caption"]: item["enabled"] for item in menu.menu()}
        app.driver.call("key", *keys)
        menu.wait_gone()
        app.driver.call("sleep", 200)
        return {ADD: enabled[ADD], REMOVE: enabled[REMOVE]}

    assert choose("Down", "Down", "Down", "Down", "Enter") == {ADD: True, REMOVE: False}
    wait_for_equal(lambda: app.status_text(), "已在右键菜单中添加“用墨舟打印”")
    assert choose("Up", "Enter") == {ADD: False, REMOVE: True}
    wait_for_equal(lambda: app.status_text(), "已从右键菜单中移除“用墨舟打印”")


def test_right_after_start_a_window_at_the_edge_stays_until_the_mouse_has_been_in_it(driver, launch):
    driver.call("mouse_move", 1000, 700)  # outside where the window will appear, and kept there
    main = MainWindow(launch())
    driver.call("move", main.window, 0, 100)
    time.sleep(1)  # about a hundred docking ticks
    assert main.window.rect.left == 0
