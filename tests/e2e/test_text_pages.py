"""Text pages set up as editors print them: headers and footers with their codes filled in, line numbers."""

from __future__ import annotations

import re

import pytest

from e2elib import wait_until, windows_path
from e2elib.paths import page_setup_file
from mainwindow import IDOK, MainWindow, answer_chars_per_line, ask_chars_per_line, paste_text, print_dialog, print_text
from test_command_line import run
from test_print_text import FROM_PAGE, PAGE_RANGE, TO_PAGE

DEFAULTS = {"marginLeft": 0, "marginTop": 0, "marginRight": 0, "marginBottom": 0,
            "header.left": "", "header.centre": "", "header.right": "",
            "footer.left": "", "footer.centre": "", "footer.right": "",
            "lineNumbers": 0, "landscape": 0, "paperSize": 0}


@pytest.fixture
def page_setup():
    """Writes the page setup the program reads when it starts (each case starts without one)."""
    def write(**changes) -> None:
        values = DEFAULTS | {key.replace("_", "."): value for key, value in changes.items()}
        page_setup_file().parent.mkdir(parents=True, exist_ok=True)
        text = "墨舟页面设置 1\n" + "".join(f"{key}={value}\n" for key, value in values.items())
        page_setup_file().write_bytes(text.encode("utf-8"))
    return write


def squeezed(line: str) -> str:
    return re.sub(r"\s+", " ", line)


def test_footers_count_the_pages_of_the_whole_text_and_the_header_names_the_file(driver, started, program_dir, paper,
                                                                                   page_setup, tmp_path):
    page_setup(header_centre="&f", footer_centre="第 &p 页 / 共 &P 页")
    lines = [f"line {n:03d}" for n in range(1, 301)]
    report = tmp_path / "报告.txt"
    report.write_text("\n".join(lines), encoding="utf-8")
    # Dropped onto the program: it starts with the file loaded as if dropped on its window.
    main = MainWindow(run(driver, started, program_dir(), f'"{windows_path(report)}"'))
    wait_until(lambda: main.text_option.checked and "line 300" in main.edit_box.text, message="report loaded")
    print_text(main, 20)

    printed = paper.printed()
    pages = printed.page_lines()
    count = len(pages)
    assert count >= 3
    assert [page[0] for page in pages] == ["报告.txt"] * count
    # pdftotext drops the narrow spaces of the footer's font
    assert [page[-1].replace(" ", "") for page in pages] == [f"第{n}页/共{count}页" for n in range(1, count + 1)]
    assert [line for page in pages for line in page[1:-1]] == lines
    # Centred on this printer's paper, which it prints edge to edge.
    width = float(printed.info()["Page size"].split()[0])
    _, left, _, right, _ = next(box for box in printed.word_boxes(2) if box[0] == "报告.txt")
    assert abs((left + right) / 2 - width / 2) < 2
    paper.clear()

    answer_chars_per_line(ask_chars_per_line(main), 20)
    dialog = print_dialog(main.app)
    dialog.control(id=PAGE_RANGE).click()
    dialog.control(id=FROM_PAGE).set_text("2")
    dialog.control(id=TO_PAGE).set_text("3")
    dialog.press(IDOK)
    assert paper.printed().page_lines() == pages[1:3]


def test_a_line_cut_at_the_width_is_numbered_once_and_an_empty_line_keeps_its_number(launch, paper, page_setup):
    page_setup(lineNumbers=1)
    main = MainWindow(launch())
    main.text_option.click()
    main.keep_spaces.click()
    long = "".join(chr(ord("a") + n % 26) for n in range(150))
    paste_text(main, f"{long}\n\nend")
    print_text(main, 40)

    printed = paper.printed()
    assert [squeezed(line) for line in printed.lines()] == [
        f"1 {long[:40]}", long[40:80], long[80:120], long[120:], "2", "3 end"]
    # The continuations stand in the text's column, right of the numbers.
    lefts = [left for left, _ in printed.line_corners()]
    assert lefts[0] < lefts[1] == lefts[2] == lefts[3]
