"""Printing the main picture: the prompts, what lands on paper, and the picture adjustment window
whose preview sets the size the prompts start from."""

from __future__ import annotations

import subprocess
from pathlib import Path
from types import SimpleNamespace

from e2elib import Raster, Window, find_window, wait_for_equal
from mainwindow import IDCANCEL, IDOK, NOTICE_CAPTION, MainWindow, print_dialog
from test_pictures import PICTURE_BOX, choose_file, make_picture, pixel, screenshot_pixels

IDYES, IDNO = 6, 7
PAGE_RANGE = 1058  # the print dialog's "页码范围"
PRINTER = "MozhouPDF"
COARSE_DPI = 50
FINE_DPI = 600
MM_PER_INCH = 25.4
ADJUST_CAPTION = "图片调节"


def load_picture(main: MainWindow, picture: Path) -> None:
    main.picture_option.click()
    main.window.control("查找").click()
    choose_file(main, picture)
    wait_for_equal(lambda: main.print_button.enabled, True)


def answer(main: MainWindow, caption: str, value: int | None, initial: str | None = None) -> None:
    """Answers one of the job's number prompts; None cancels it."""
    box = main.app.message_box(caption=caption, timeout=10)
    edit = box.control(cls="Edit")
    if initial is not None:
        assert edit.text == initial
    if value is None:
        box.press(IDCANCEL)
    else:
        edit.type_text(str(value))  # what it offers is selected: typing replaces it
        box.press(IDOK)
    box.wait_gone()


def choose_size(main: MainWindow, by_hand: bool) -> None:
    question = main.app.message_box(caption="信息：", timeout=10)
    assert question.text == "是否调整打印图片宽度、高度"
    question.press(IDYES if by_hand else IDNO)


def red_box_mm(paper) -> tuple[float, float]:
    """Width and height of the red on the printed page, in millimetres: found on a coarse
    rendering, then measured along one row and one column of a fine one."""
    pdf = paper.printed()
    coarse = pdf.render(dpi=COARSE_DPI)
    red = [(x, y) for x, y, colour in coarse.pixels() if is_red(colour)]
    assert red, "no red on the page"
    middle_x = sum(x for x, _ in red) // len(red) * FINE_DPI // COARSE_DPI
    middle_y = sum(y for _, y in red) // len(red) * FINE_DPI // COARSE_DPI

    def extent(x: int, y: int, width: int, height: int) -> float:
        strip = subprocess.run(["pdftoppm", "-r", str(FINE_DPI), "-x", str(x), "-y", str(y), "-W", str(width),
                                "-H", str(height), str(pdf.path)], capture_output=True, check=True).stdout
        return sum(1 for *_, colour in Raster.from_ppm(strip).pixels() if is_red(colour)) * MM_PER_INCH / FINE_DPI

    page_width, page_height = coarse.width * FINE_DPI // COARSE_DPI, coarse.height * FINE_DPI // COARSE_DPI
    return extent(0, middle_y, page_width, 1), extent(middle_x, 0, 1, page_height)


def is_red(colour: tuple[int, int, int]) -> bool:
    red, green, blue = colour
    return red > 200 and green < 60 and blue < 60


def test_a_picture_prints_at_the_size_entered_or_over_the_printable_area(app, paper, tmp_path):
    main = MainWindow(app)
    load_picture(main, make_picture(tmp_path / "red.png", "xc:#FF0000", "60x40"))

    main.print_button.click()
    answer(main, "( Dpi)", 300, initial="300")
    choose_size(main, by_hand=True)
    answer(main, "宽度( 像素)", 1000, initial="184")  # the preview panel's size before it was opened
    answer(main, "高度( 像素)", 500, initial="112")
    print_dialog(app).press(IDOK)
    expected = f"{PRINTER}   打印份数：1   正在打印：1  ( 图片宽度：8.466666666667cm  图片高度：4.233333333333cm )"
    wait_for_equal(main.status_message, expected)
    width, height = red_box_mm(paper)  # drawing units are 0.1 mm, exactly on paper
    assert abs(width - 100) <= 0.2 and abs(height - 50) <= 0.2, (width, height)

    paper.clear()
    main.print_button.click()
    answer(main, "( Dpi)", 300)
    choose_size(main, by_hand=False)
    dialog = print_dialog(app)
    assert not dialog.control(id=PAGE_RANGE).enabled  # one page: no range to choose
    dialog.press(IDOK)
    wait_for_equal(main.status_message, f"{PRINTER}   打印份数：1   正在打印：1  ( 默认图片宽度高度 )")
    width, height = red_box_mm(paper)
    assert width > 180 and height > 260  # stretched over an A4 page inside its margins


def test_a_picture_that_does_not_decode_is_refused_before_any_prompt(program_dir, launch, paper):
    directory = program_dir()
    directory.file("打印机图").write_bytes(b"\x89PNG\r\n\x1a\n" + bytes(100))  # shown in the box from the start
    main = MainWindow(launch(directory))
    main.picture_option.click()
    main.print_button.click()
    wait_for_equal(main.status_message, "图片无法识别")
    assert paper.nothing_printed()
    assert not main.app.message_boxes()


def test_cancel_or_an_unusable_number_in_any_prompt_prints_nothing(app, paper, tmp_path):
    main = MainWindow(app)
    load_picture(main, make_picture(tmp_path / "red.png", "xc:#FF0000", "6x4"))
    cases = [  # answers to resolution, width, height; what the status or a notice then says
        ([None], "取消打印"), ([0], "分辨率应大于0"), ([300, None], "取消打印"),
        ([300, 0], "宽度不能为空"), ([300, -5], "宽度不能为空"), ([300, 10, None], "取消打印"),
        ([300, 10, 0], "高度不能为空"),
    ]
    for answers, said in cases:
        main.print_button.click()
        for caption, value in zip(["( Dpi)", "宽度( 像素)", "高度( 像素)"], answers):
            answer(main, caption, value)
            if caption == "( Dpi)" and value:
                choose_size(main, by_hand=True)
        if said == "取消打印":
            wait_for_equal(main.status_message, said)
        else:
            notice = app.message_box(caption=NOTICE_CAPTION, timeout=10)
            assert notice.text == said
            notice.wait_gone(timeout=10)
    assert paper.nothing_printed()


def open_adjust_window(main: MainWindow) -> Window:
    x, y = main.by_id(PICTURE_BOX).rect.center
    main.window.bring_to_front()
    main.app.driver.call("mouse_click", x, y, button="right")
    menu = main.app.popup_menu()
    main.app.driver.call("key", "Down", "Enter")  # 调节大小
    menu.wait_gone()
    return find_window(main.app.driver, text=ADJUST_CAPTION, pid=main.app.pid, visible=True, timeout=10)


def test_the_adjustment_window_sets_the_size_the_prompts_offer_and_turns_the_picture(app, tmp_path):
    main = MainWindow(app)
    # 3 × 2: red, green, blue over white, black, yellow.
    picture = tmp_path / "six.png"
    subprocess.run(["convert", "-size", "3x2", "xc:white", "-fill", "red", "-draw", "point 0,0", "-fill", "lime",
                    "-draw", "point 1,0", "-fill", "blue", "-draw", "point 2,0", "-fill", "black", "-draw",
                    "point 1,1", "-fill", "yellow", "-draw", "point 2,1", picture.as_posix()], check=True)
    load_picture(main, picture)
    window = open_adjust_window(main)
    panel = window.control(id=100)

    app.driver.call("resize", window, 500, 400)
    app.driver.call("mouse_click", panel.rect.left + 5, panel.rect.top + 5)
    wait_for_equal(lambda: window.title, "高：400像素  宽：500像素")
    main.print_button.click()
    answer(main, "( Dpi)", 300)
    choose_size(main, by_hand=True)
    answer(main, "宽度( 像素)", None, initial="500")

    window.bring_to_front()
    app.driver.call("mouse_click", panel.rect.left + 5, panel.rect.top + 5, button="right")
    menu = app.popup_menu()
    app.driver.call("key", "Down", "Enter")  # 纸张大小
    menu.wait_gone()
    wait_for_equal(lambda: window.title, "默认纸张：  高 28cm  宽 19cm")
    assert (panel.rect.width, panel.rect.height) == (3307, 2244)
    main.print_button.click()
    answer(main, "( Dpi)", 300)
    choose_size(main, by_hand=True)
    answer(main, "宽度( 像素)", 1000, initial="3307")
    answer(main, "高度( 像素)", None, initial="2244")
    window.bring_to_front()

    app.driver.call("mouse_click", panel.rect.left + 5, panel.rect.top + 5, button="right")
    menu = app.popup_menu()
    app.driver.call("key", "Down", "Down", "Enter")  # 旋转图片
    menu.wait_gone()
    question = app.message_box(caption="信息：", timeout=10)
    assert question.text == "是否适用纸张？"
    question.press(IDYES)
    wait_for_equal(lambda: (panel.rect.width, panel.rect.height), (2, 3))
    assert not window.control(id=101).visible
    in_front = SimpleNamespace(window=window, app=app)  # the adjustment window in front, not the main one
    width, height, rows = screenshot_pixels(in_front, panel, tmp_path / "turned.bmp")
    # Column x, row y of the picture lands in column y, row x: the top-right pixel bottom-left.
    assert (width, height) == (2, 3)
    assert [pixel(rows, 0, y) for y in range(3)] == [(255, 0, 0), (0, 255, 0), (0, 0, 255)]
    assert [pixel(rows, 1, y) for y in range(3)] == [(255, 255, 255), (0, 0, 0), (255, 255, 0)]

    app.close()  # with the adjustment window still open
    app.message_box(caption="打印机提示：").press(IDOK)
    assert app.wait_exit() == 0
