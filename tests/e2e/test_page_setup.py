"""The page setup window: OK keeps what was set, also for the next run, in the user's roaming folder;
Cancel changes nothing; a damaged settings file gives the defaults and a quiet note."""

from __future__ import annotations

import random

from e2elib import find_window, wait_for_equal, wait_until
from e2elib.paths import page_setup_file
from mainwindow import MainWindow, choose_edit_menu_item

TITLE = "页面设置"
# Control ids of the window, as the program numbers them.
PAPER_LIST = 105
MARGINS = (110, 112, 114, 116)  # left, top, right, bottom
HEADER = (121, 122, 123)  # left, centre, right
FOOTER = (125, 126, 127)
DAMAGED_NOTE = "页面设置文件无法读取，已使用默认设置"


def open_page_setup(main: MainWindow):
    choose_edit_menu_item(main, TITLE)
    return find_window(main.app.driver, TITLE, pid=main.app.pid, visible=True, timeout=10)


def texts(dialog, ids) -> list[str]:
    return [dialog.control(id=i).text for i in ids]


def test_ok_keeps_the_setup_in_the_users_file_and_cancel_changes_nothing(app):
    main = MainWindow(app)
    dialog = open_page_setup(main)
    assert texts(dialog, MARGINS) == ["0"] * 4 and dialog.control(id=PAPER_LIST).text == "打印机默认纸张"
    assert dialog.control("纵向").checked and not dialog.control("打印行号").checked
    dialog.control(id=FOOTER[1]).type_text("第 &p 页")
    dialog.control(id=MARGINS[0]).set_text("25")
    dialog.control("横向").click()
    dialog.control("打印行号").click()
    dialog.control("确定").click()
    dialog.wait_gone()
    saved = wait_until(lambda: page_setup_file().exists() and page_setup_file().read_text("utf-8"),
                       message="the page setup file")
    for line in ("marginLeft=250", "marginTop=0", "footer.centre=第 &p 页", "landscape=1", "lineNumbers=1"):
        assert f"\n{line}\n" in saved

    # Opened again it shows the setup; what is changed and then cancelled, by Esc or the close box, stays away.
    for cancel in ("Escape", "close"):
        dialog = open_page_setup(main)
        assert texts(dialog, MARGINS) == ["25", "0", "0", "0"] and dialog.control(id=FOOTER[1]).text == "第 &p 页"
        assert dialog.control("横向").checked and dialog.control("打印行号").checked
        dialog.control(id=MARGINS[0]).set_text("7")
        dialog.control("纵向").click()
        dialog.press_keys("Escape") if cancel == "Escape" else dialog.close()
        dialog.wait_gone()
        assert page_setup_file().read_text("utf-8") == saved
    assert main.window.enabled


def test_the_setup_outlives_the_program_and_a_damaged_file_gives_the_defaults_quietly(launch):
    page_setup_file().parent.mkdir(parents=True, exist_ok=True)
    page_setup_file().write_bytes(random.Random(5).randbytes(400))
    main = MainWindow(launch())
    wait_for_equal(main.status_message, DAMAGED_NOTE)
    assert main.window.status_bar().font()["weight"] < 700
    dialog = open_page_setup(main)
    assert texts(dialog, MARGINS) == ["0"] * 4 and texts(dialog, HEADER + FOOTER) == [""] * 6
    dialog.control(id=MARGINS[1]).set_text("15")
    dialog.control(id=HEADER[0]).type_text("&f")
    dialog.control(id=HEADER[2]).type_text("&d &t")
    dialog.press_keys("Enter")
    dialog.wait_gone()
    main.app.kill()

    main = MainWindow(launch())
    dialog = open_page_setup(main)
    assert texts(dialog, MARGINS) == ["0", "15", "0", "0"] and texts(dialog, HEADER) == ["&f", "", "&d &t"]
    assert main.status_message() != DAMAGED_NOTE
    dialog.control("取消").click()
    dialog.wait_gone()
    wait_until(lambda: main.window.enabled, message="the main window enabled again")
