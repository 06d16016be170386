"""Printing the edit box's text: what the print button asks, what it refuses, and what lands on paper
(the test printer writes PDFs)."""

from __future__ import annotations

import math
import re
import time

import pytest

from e2elib import wait_for_equal, wait_until
from mainwindow import (EM_SETSEL, IDCANCEL, IDOK, NOTICE_CAPTION, PROGRESS_CAPTION, MainWindow, answer_chars_per_line,
                        ask_chars_per_line, choose_edit_font, choose_text_printing, paste_text, print_dialog,
                        print_text, start_printing)

PRINTER = "MozhouPDF"
BOLD = 700
SCREEN_DPI = 96
PRINT_TO_FILE = 1040  # the print dialog's check box
SELECTION, PAGE_RANGE, FROM_PAGE, TO_PAGE, COPIES = 1057, 1058, 1152, 1153, 1154  # and its range


def points(font: dict) -> int:
    """The size in points a font height reads as on the screen."""
    return round(abs(font["height"]) * 72 / SCREEN_DPI)


def done_message(size: int, delete_spaces: bool = False) -> str:
    closing = " ）" if delete_spaces else " )"
    return f"{PRINTER}  打印份数：1  正在打印：1  ( 字体大小：{size}{closing}"


def squeezed(line: str) -> str:
    return re.sub(r"\s+", " ", line)


# -- what lands on paper ---------------------------------------------------

def test_typed_text_prints_in_lines_of_the_chosen_width(app, paper):
    main = MainWindow(app)
    choose_text_printing(main)
    # 20 bytes a line: a character of two bytes that would straddle the cut starts the next line,
    # and the line break typed with Enter starts the count again.
    main.edit_box.type_text("打印 texts 一行二十字节 and more\n第二行 ends here")
    message = print_text(main, 20)

    assert message == done_message(points(main.edit_box.font()))
    printed = paper.printed()
    assert printed.pages == 1
    assert [squeezed(line) for line in printed.lines()] == [
        "打印 texts 一行二十", "字节 and more", "第二行 ends here"]
    assert {round(left) for left, _ in printed.line_corners()} == {0}  # where this printer's paper begins


def test_deleting_spaces_removes_half_and_full_width_spaces_before_cutting(app, paper):
    main = MainWindow(app)
    choose_text_printing(main, delete_spaces=True)
    main.edit_box.type_text("墨 舟\u3000打 印\u3000文 本 has spaces 一\u3000二 三\u3000四 五 end")
    message = print_text(main, 20)

    assert message == done_message(points(main.edit_box.font()), delete_spaces=True)
    assert paper.printed().lines() == ["墨舟打印文本hasspace", "s一二三四五end"]


def test_a_long_text_runs_onto_as_many_pages_as_its_lines_need(app, paper):
    main = MainWindow(app)
    choose_text_printing(main)
    lines = [f"第{n:03d}行abcdefghijklm" for n in range(1, 201)]  # 20 bytes each: one printed line each
    paste_text(main, "".join(lines) + "end")
    print_text(main, 20)

    printed = paper.printed()
    pages = printed.page_lines()
    assert [line for page in pages for line in page] == lines + ["end"]
    tops = [top for _, top in printed.line_corners(1)]
    advance = (tops[-1] - tops[0]) / (len(tops) - 1)
    per_page = int(printed.page_height() // advance)  # as many line advances as the page is high
    assert [len(page) for page in pages] == [per_page] * (len(pages) - 1) + [201 % per_page or per_page]
    assert len(pages) > 1


def test_a_page_range_or_the_selection_prints_only_those_lines(app, paper):
    main = MainWindow(app)
    choose_text_printing(main)
    lines = [f"line {n:03d}" for n in range(1, 301)]
    paste_text(main, "\n".join(lines))
    print_text(main, 20)
    whole = paper.printed().page_lines()
    assert len(whole) >= 3
    paper.clear()

    def print_with(choose) -> list[list[str]]:
        answer_chars_per_line(ask_chars_per_line(main), 20)
        dialog = print_dialog(app)
        choose(dialog)
        dialog.press(IDOK)
        printed = paper.printed().page_lines()
        paper.clear()
        return printed

    def pages_2_to_3(dialog):
        dialog.control(id=PAGE_RANGE).click()
        dialog.control(id=FROM_PAGE).set_text("2")
        dialog.control(id=TO_PAGE).set_text("3")

    assert print_with(pages_2_to_3) == whole[1:3]

    def two_copies_of_page_2(dialog):
        pages_2_to_3(dialog)
        dialog.control(id=TO_PAGE).set_text("2")
        dialog.control(id=COPIES).set_text("2")

    # The test printer makes no copies of its own: the job prints the page twice.
    assert print_with(two_copies_of_page_2) == whole[1:2] * 2
    # Lines 40 to 60 selected (the edit box counts CR LF as two), laid out from their own first line.
    start = sum(len(line) + 2 for line in lines[:39])
    app.driver.call("send", main.edit_box, EM_SETSEL, start, start + sum(len(line) + 2 for line in lines[39:60]) - 2)

    def selection_once(dialog):
        dialog.control(id=SELECTION).click()
        assert dialog.control(id=COPIES).text == "2"  # as chosen last
        dialog.control(id=COPIES).set_text("1")

    assert print_with(selection_once) == [lines[39:60]]


def test_short_lines_print_whole_and_characters_outside_gbk_as_themselves(app, paper):
    main = MainWindow(app)
    choose_text_printing(main)
    lines = [f"line {n:03d}" for n in range(1, 301)] + ["韩文 한글 😀 ok"]  # Hangul and an emoji: no GBK code
    paste_text(main, "\n".join(lines))
    print_text(main, 98)

    printed = paper.printed()
    # The emoji is drawn in a fallback font. Wine's PostScript driver sends that font as Type 42,
    # whose glyphs Ghostscript gives no text, so the text layer has a gap where it stands.
    assert [squeezed(line) for page in printed.page_lines() for line in page] == lines[:-1] + ["韩文 한글 ok"]
    assert "DejaVuSans" in printed.fonts()
    # What stands there is the round face, not the empty box of a missing glyph: its corners are blank.
    dpi, last = 300, printed.pages
    boxes = {word: box for word, *box in printed.word_boxes(last)}
    scale = dpi / 72
    between = [round(v * scale) for v in (boxes["한글"][2], boxes["ok"][1], boxes["ok"][0], boxes["ok"][3])]
    ink = printed.render(last, dpi).ink(*between)
    xs, ys = [x for x, _ in ink], [y for _, y in ink]
    left, top, right, bottom = min(xs), min(ys), max(xs), max(ys)
    corner = (right - left) // 6
    assert right - left > 20 and not [(x, y) for x, y in ink if min(x - left, right - x) < corner > min(y - top, bottom - y)]


def test_the_edit_box_font_face_size_and_colour_reach_the_paper(app, paper):
    main = MainWindow(app)
    choose_text_printing(main)
    main.edit_box.type_text("HEIGHT HIGH")
    ink = {}
    for size in (12, 36):
        choose_edit_font(main, "Liberation Serif", size, colour="红色")
        assert main.edit_box.font()["face"] == "Liberation Serif"
        assert print_text(main, 80) == done_message(size)
        printed = paper.printed()
        assert "LiberationSerif" in printed.fonts()
        page = printed.render(dpi=144)
        top, bottom = page.ink_rows()
        ink[size] = bottom - top + 1
        colours = [pixel for _, _, pixel in page.pixels()]
        assert sum(r > 200 and g < 60 and b < 60 for r, g, b in colours) > 100  # solid red
        assert not any(max(r, g, b) < 100 for r, g, b in colours)  # and nothing black
        paper.clear()

    assert 2.7 < ink[36] / ink[12] < 3.3


# -- what the print button asks, and what it refuses -----------------------

def test_without_the_text_option_the_status_bar_asks_for_a_choice_in_bold(app, paper):
    main = MainWindow(app)
    main.edit_box.type_text("文字")
    main.print_button.click()
    assert main.status_message() == "请选择打印文本或图片(不能为空）"
    assert main.window.status_bar().font()["weight"] >= BOLD
    assert app.message_boxes() == []
    assert paper.nothing_printed()


def test_the_width_box_offers_80_and_cancel_prints_nothing(app, paper):
    main = MainWindow(app)
    choose_text_printing(main)
    main.edit_box.type_text("文字")
    box = ask_chars_per_line(main)
    assert box.text == "请输入打印每行的字数"
    assert [(b["id"], b["text"]) for b in box.dialog()["buttons"]] == [(IDOK, "确认输入(&O)"),
                                                                         (IDCANCEL, "取消(&C)")]
    edit = box.control(cls="Edit")
    assert edit.text == "80"
    edit.type_text("5")
    assert edit.text == "5"  # the 80 was selected

    box.press(IDCANCEL)
    wait_for_equal(main.status_message, "取消打印")
    assert app.message_boxes() == []  # no print dialog
    assert paper.nothing_printed()


@pytest.mark.parametrize("width", [99, 0])
def test_a_width_outside_1_to_98_shows_a_notice_that_closes_itself(app, paper, width):
    main = MainWindow(app)
    choose_text_printing(main)
    main.edit_box.type_text("文字")
    answer_chars_per_line(ask_chars_per_line(main), width)
    notice = app.message_box(caption=NOTICE_CAPTION)
    shown = time.monotonic()
    if width == 99:
        assert notice.text == "打印每行的字数大于纸张，应小于99个字"
    notice.wait_gone(timeout=6)
    assert 2 < time.monotonic() - shown < 5
    assert app.message_boxes() == []  # no print dialog
    assert main.status_message() == ""
    assert paper.nothing_printed()


def test_cancelling_the_print_dialog_prints_nothing(app, paper):
    main = MainWindow(app)
    choose_text_printing(main)
    main.edit_box.type_text("文字")
    answer_chars_per_line(ask_chars_per_line(main), 20)
    dialog = print_dialog(app)
    to_file = dialog.control(id=PRINT_TO_FILE)
    assert to_file.text == "打印到文件(&L)" and not to_file.checked  # the system dialog, printing to paper
    dialog.press(IDCANCEL)
    wait_for_equal(main.status_message, "取消打印")
    assert paper.nothing_printed()


def test_stopping_a_long_job_keeps_the_pages_made_so_far(app, paper):
    main = MainWindow(app)
    choose_text_printing(main)
    line_count = 5000  # over a hundred pages, about a minute of printing
    paste_text(main, "\n".join(f"第{n:05d}行abcdefghi" for n in range(line_count)))  # 20 bytes with CR LF
    start_printing(main, 20)

    progress = app.message_box(caption=PROGRESS_CAPTION, timeout=10)

    def shown() -> dict[str, str]:
        texts = progress.dialog()["text"].split("\n")  # label, value, label, value...
        return dict(zip(texts[::2], texts[1::2]))

    fields = shown()
    assert list(fields) == ["打印作业名：", "打印目的：", "已打印份数：", "当前页号："]
    assert fields["打印作业名："] == "未命名打印作业" and PRINTER in fields["打印目的："]
    page = wait_until(lambda: (n := int(shown()["当前页号："])) >= 2 and n, timeout=30, message="page 2 under way")
    assert not main.window.enabled
    progress.press("中止打印")
    progress.wait_gone(timeout=30)
    wait_for_equal(lambda: main.window.enabled, True, timeout=10)

    # The job stops after the page under way (the Windows tests hold it to that page), and only
    # whole pages reach the paper.
    pages = paper.printed().page_lines()
    per_page = len(pages[0])
    count = math.ceil(line_count / per_page)
    assert pages[0][0] == "第00000行abcdefghi"
    assert page <= len(pages) < count
    assert {len(lines) for lines in pages} == {per_page}
    assert main.status_message() == f"已中止打印：打印了 {len(pages)} 页，共 {count} 页"
