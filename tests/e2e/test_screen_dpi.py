"""A screen at 150 % (144 dpi): windows half as large again as at 96 dpi, texts whole, print as large."""

import subprocess

import pytest

from e2elib import Raster, wait_until
from mainwindow import DELETE_SPACES, STOP, MainWindow, choose_edit_font, choose_text_printing, paste_text, print_text
from separate_edit import SeparateEdit
from test_print_picture import open_adjust_window


def ink_widths(control, shot, edges: list[int] | None = None) -> list[int]:
    """From the first to the last dark pixel of a control on the screen, in each of its parts (between edges)."""
    control.screenshot(shot)
    raster = Raster.from_ppm(subprocess.run(["convert", str(shot), "ppm:-"], capture_output=True, check=True).stdout)
    edges, widths = [0] + (edges or [raster.width]), []
    for left, right in zip(edges, edges[1:]):
        columns = [x for x, _ in raster.ink(left, 0, min(right, raster.width), raster.height, lambda p: max(p) < 96)]
        widths.append(max(columns) - min(columns) + 1 if columns else 0)
    return widths


def look(main: MainWindow, shot) -> tuple[list[tuple[int, int]], list[int]]:
    """The sizes of the windows, and how wide the status bar's texts and an option's caption are drawn."""
    main.by_id(STOP).click()  # "停止打印" in the message part
    wait_until(lambda: main.status_message() == "停止打印")
    main.app.driver.call("sleep", 500)  # painted
    bar = main.window.status_bar()
    texts = ink_widths(bar, shot.with_suffix(".1.bmp"), [part["right"] for part in main.app.driver.read("status", bar)["parts"]])
    texts += ink_widths(main.by_id(DELETE_SPACES), shot.with_suffix(".2.bmp"))
    main_size = main.window.rect.width, main.window.rect.height
    separate = SeparateEdit.open(main)
    edit = separate.edit_box.rect
    assert separate.window.title.startswith(f"宽：{edit.width}像素   高：{edit.height}像素")
    adjust = open_adjust_window(main).rect
    # The separate-edit window's height is cut to the screen's, its edit box's is not.
    return [main_size, (separate.window.rect.width, edit.height), (adjust.width, adjust.height)], texts


def test_at_150_percent_the_windows_are_half_as_large_again_and_cut_off_no_text(screen_dpi, launch, tmp_path):
    seen = {}
    for dpi in (96, 144):
        screen_dpi(dpi)
        seen[dpi] = look(MainWindow(launch()), tmp_path / f"{dpi}.bmp")
    (sizes, texts), (scaled_sizes, scaled_texts) = seen[96], seen[144]
    # A text cut off at its control's edge grows less than its font.
    assert all(width > 0 and 1.35 <= scaled / width <= 1.7 for width, scaled in zip(texts, scaled_texts)), seen
    assert sizes[0] == (782, 506)
    assert scaled_sizes == [pytest.approx((width * 1.5, height * 1.5), abs=2) for width, height in sizes]


def test_a_text_prints_as_large_at_150_percent_as_at_96_dpi(screen_dpi, launch, paper):
    widths = {}
    for dpi in (96, 144):
        screen_dpi(dpi)
        main = MainWindow(launch())
        choose_text_printing(main)
        paste_text(main, "Mozhou prints the same on every screen")
        choose_edit_font(main, "Liberation Serif", 14)  # 18.67 pixels at 96 dpi: rounded unlike 144 dpi's 28
        print_text(main, 80)
        printed = paper.printed()
        words = printed.word_boxes()
        widths[dpi] = words[-1][3] - words[0][1]
        printed.path.unlink()
    assert widths[144] == pytest.approx(widths[96], abs=0.5)
