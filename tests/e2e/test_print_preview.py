"""The print preview: it asks what printing asks, shows as many pages as the paper then gets, prints
from the answers given, and prints nothing when closed."""

from __future__ import annotations

import re

from e2elib import find_window, wait_until
from mainwindow import (IDCANCEL, MainWindow, answer_chars_per_line, choose_edit_menu_item,
                        choose_text_printing, paste_text, print_dialog, CHARS_PER_LINE_CAPTION)
from test_print_picture import answer, choose_size, load_picture, red_box_mm
from test_pictures import make_picture

PREVIEW_CAPTION = "打印预览"
MARGIN_BOXES = (110, 112, 114, 116)  # the page setup's left, top, right and bottom
MM_PER_POINT = 25.4 / 72


def open_preview(main: MainWindow, chars_per_line: int | None = None, by_menu: bool = False):
    """Ctrl+F2 (or the edit box's menu item) and the bytes-per-line answer; the preview once laid out
    and the page count it shows."""
    if by_menu:
        choose_edit_menu_item(main, PREVIEW_CAPTION)
    else:
        main.window.press_keys("Ctrl+F2")
    if chars_per_line is not None:
        answer_chars_per_line(main.app.message_box(caption=CHARS_PER_LINE_CAPTION, timeout=10), chars_per_line)
    preview = find_window(main.app.driver, PREVIEW_CAPTION, pid=main.app.pid, visible=True, timeout=10)
    label = preview.control(cls="Static")
    count = wait_until(lambda: (m := re.fullmatch(r"第 1 页 / 共 (\d+) 页", label.text)) and int(m[1]),
                       timeout=60, message="the page count")
    return preview, count


def open_page_setup(preview, main: MainWindow):
    preview.control("页面设置…").click()
    return find_window(main.app.driver, "页面设置", pid=main.app.pid, visible=True, timeout=10)


def print_from(preview, main: MainWindow, paper):
    preview.control("打印…").click()
    print_dialog(main.app).press(1)  # no other question comes first
    preview.wait_gone()
    return paper.printed()


def test_the_preview_shows_the_pages_the_paper_gets_and_closing_it_prints_nothing(app, paper):
    main = MainWindow(app)
    choose_text_printing(main)
    paste_text(main, "\n".join(f"line {n:03d}" for n in range(1, 301)))

    main.window.press_keys("Ctrl+F2")  # Cancel in the prompt: no preview
    main.app.message_box(caption=CHARS_PER_LINE_CAPTION, timeout=10).press(IDCANCEL)
    preview, count = open_preview(main, 20)  # Esc closes it without printing
    preview.press_keys("PageDown", "Escape")
    preview.wait_gone()
    assert paper.nothing_printed()

    for chars_per_line, by_menu in ((20, False), (98, True)):
        preview, count = open_preview(main, chars_per_line, by_menu)
        printed = print_from(preview, main, paper)
        assert printed.pages == count and len(printed.lines()) == 300
        pages = printed.page_lines()
        paper.clear()

    # "打印本页" prints the page shown, alone.
    preview, _ = open_preview(main, 98)
    preview.press_keys("PageDown")
    wait_until(lambda: preview.control(cls="Static").text.startswith("第 2 页"), message="page 2 shown")
    preview.control("打印本页").click()
    print_dialog(main.app).press(1)
    assert paper.printed().page_lines() == pages[1:2]
    paper.clear()

    # Margins set in the preview hold for its print: the first line starts 20 mm from the paper's edge.
    preview, _ = open_preview(main, 98)
    setup = open_page_setup(preview, main)
    for box, margin in zip(MARGIN_BOXES, (20, 20, 0, 0)):
        setup.control(id=box).set_text(str(margin))
    setup.control("确定").click()
    setup.wait_gone()
    left, top = print_from(preview, main, paper).line_corners(1)[0]
    assert abs(left * MM_PER_POINT - 20) <= 0.5


def test_a_picture_previews_on_the_one_page_it_prints_on(app, paper, tmp_path):
    main = MainWindow(app)
    load_picture(main, make_picture(tmp_path / "red.png", "xc:#FF0000", "60x40"))
    for by_hand in (False, True):
        main.window.press_keys("Ctrl+F2")
        answer(main, "( Dpi)", 300)
        choose_size(main, by_hand)
        if by_hand:
            answer(main, "宽度( 像素)", 1000)
            answer(main, "高度( 像素)", 500)
        preview, count = open_preview(main)
        if not by_hand:  # a picture's page setup has only its margins to set
            setup = open_page_setup(preview, main)
            assert not setup.control(id=105).enabled and setup.control(id=MARGIN_BOXES[0]).enabled
            setup.control("取消").click()
            setup.wait_gone()
        printed = print_from(preview, main, paper)
        assert count == printed.pages == 1
        if by_hand:
            width, height = red_box_mm(paper)
            assert abs(width - 100) <= 0.5 and abs(height - 50) <= 0.5
        paper.clear()
