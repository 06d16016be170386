"""Photos as people print them: upright whatever way the camera held them, several loaded at once,
and laid out as the print preview's "版式" says, checked on the paper."""

from __future__ import annotations

import re
import struct
import subprocess
import time
from itertools import groupby
from pathlib import Path

from e2elib import Raster, wait_for_equal, wait_until, windows_path
from mainwindow import IDOK, MainWindow, print_dialog
from test_pictures import FILE_NAME_BOX, OPEN_DIALOG_CAPTION, PICTURE_BOX, make_picture
from test_print_picture import FINE_DPI, MM_PER_INCH, answer, choose_size, is_red, load_picture
from test_print_preview import open_preview, print_from

# How each EXIF orientation's file stores an upright picture: the turn or mirror that the reader
# must undo.
STORED_AS = {1: [], 2: ["-flop"], 3: ["-rotate", "180"], 4: ["-flip"], 5: ["-transpose"],
             6: ["-rotate", "-90"], 7: ["-transverse"], 8: ["-rotate", "90"]}
QUADRANTS = {(0, 0): (255, 0, 0), (1, 0): (0, 255, 0), (0, 1): (0, 0, 255), (1, 1): (255, 255, 0)}
LAYOUTS = ["拉伸铺满", "按比例适应", "按比例填满", "实际尺寸", "1寸", "小2寸", "2寸", "5寸", "6寸", "7寸",
           "身份证正反面", "每页 2 张", "每页 4 张", "每页 6 张", "每页 9 张"]


def oriented_jpeg(path: Path, orientation: int) -> Path:
    """A landscape picture of four coloured quarters, stored turned or mirrored, with the EXIF
    orientation that shows it upright."""
    subprocess.run(["convert", "-size", "80x60", "xc:red", "-size", "80x60", "xc:lime", "+append", "(",
                    "-size", "80x60", "xc:blue", "-size", "80x60", "xc:yellow", "+append", ")", "-append",
                    *STORED_AS[orientation], "-strip", "-quality", "95", path.as_posix()], check=True)
    tiff = b"II*\x00" + struct.pack("<IHHHIHHI", 8, 1, 0x0112, 3, 1, orientation, 0, 0)
    data = path.read_bytes()
    path.write_bytes(data[:2] + b"\xff\xe1" + struct.pack(">H", 8 + len(tiff)) + b"Exif\x00\x00" + tiff + data[2:])
    return path


def choose_files(main: MainWindow, folder: Path, names: list[str]) -> None:
    """"查找", then several files of one folder in the open-file dialog: the folder first, then the names."""
    main.window.control("查找").click()
    dialog = main.app.message_box(caption=OPEN_DIALOG_CAPTION, timeout=10)
    box = dialog.control(id=FILE_NAME_BOX).control(cls="Edit")
    box.set_text("")
    box.type_text(windows_path(folder))
    dialog.driver.call("press", dialog, id=IDOK)  # into the folder: the dialog stays
    time.sleep(0.5)
    box.set_text("")
    box.type_text(" ".join(f'"{name}"' for name in names))
    dialog.press(IDOK, timeout=10)


def choose_layout(preview, main: MainWindow, layout: str) -> int:
    """Picks a layout from the preview's "版式" menu; the page count once laid out again."""
    preview.control(prefix="版式：").click()
    menu = main.app.popup_menu()
    main.app.driver.call("key", *["Down"] * (LAYOUTS.index(layout) + 1), "Enter")
    menu.wait_gone()
    wait_for_equal(lambda: preview.control(prefix="版式：").text, f"版式：{layout}")
    label = preview.control(cls="Static")
    return wait_until(lambda: (m := re.fullmatch(r"第 1 页 / 共 (\d+) 页", label.text)) and int(m[1]))


def default_size_preview(main: MainWindow):
    main.window.press_keys("Ctrl+F2")
    answer(main, "( Dpi)", 300)
    choose_size(main, by_hand=False)
    return open_preview(main)


def red_runs(pdf, page: int, across: bool, at: float) -> list[float]:
    """Millimetres of each red run along the row (across) or column at a fraction of the page."""
    coarse = pdf.render(page, dpi=50)
    width, height = coarse.width * FINE_DPI // 50, coarse.height * FINE_DPI // 50
    x, y, w, h = (0, int(height * at), width, 1) if across else (int(width * at), 0, 1, height)
    line = Raster.from_ppm(subprocess.run(["pdftoppm", "-r", str(FINE_DPI), "-f", str(page), "-l", str(page),
                                           "-x", str(x), "-y", str(y), "-W", str(w), "-H", str(h), str(pdf.path)],
                                          capture_output=True, check=True).stdout).rgb
    reds = [is_red(tuple(line[i:i + 3])) for i in range(0, len(line), 3)]
    return [len(list(run)) * MM_PER_INCH / FINE_DPI for red, run in groupby(reds) if red]


def test_photos_print_upright_and_several_load_at_once(app, paper, tmp_path):
    main = MainWindow(app)
    names = [oriented_jpeg(tmp_path / f"o{n}.jpg", n).name for n in STORED_AS]
    main.picture_option.click()
    choose_files(main, tmp_path, names)
    wait_for_equal(main.status_message, "已载入 8 张图片")
    main.window.bring_to_front()
    main.app.driver.call("mouse_click", *main.by_id(PICTURE_BOX).rect.center, button="right")
    menu = main.app.popup_menu()
    main.app.driver.call("key", "Up", "Enter")  # "移除这张", the last item: the first goes, seven stay
    menu.wait_gone()

    main.print_button.click()
    answer(main, "( Dpi)", 300)
    choose_size(main, by_hand=False)
    print_dialog(app).press(IDOK)
    pdf = paper.printed()
    assert pdf.pages == 7
    for page in range(1, 8):
        raster = pdf.render(page, dpi=20)
        xs, ys = zip(*((x, y) for x, y, _ in raster.pixels()))  # the picture: all the ink
        for (column, row), colour in QUADRANTS.items():
            x, y = [min(v) + (max(v) - min(v)) * (1 + 2 * at) // 4 for v, at in ((xs, column), (ys, row))]
            seen = tuple(raster.rgb[3 * (y * raster.width + x):][:3])
            assert all(abs(a - b) <= 40 for a, b in zip(seen, colour)), (page, column, row, seen)


def test_the_preview_lays_photos_out_as_chosen_and_the_paper_agrees(app, paper, tmp_path):
    main = MainWindow(app)
    picture = tmp_path / "300dpi.png"
    subprocess.run(["convert", "-size", "1200x900", "xc:#FF0000", "-units", "PixelsPerInch", "-density", "300",
                    picture.as_posix()], check=True)
    load_picture(main, picture)

    preview, _ = default_size_preview(main)
    assert choose_layout(preview, main, "实际尺寸") == 1
    pdf = print_from(preview, main, paper)
    width, height = red_runs(pdf, 1, True, 0.5), red_runs(pdf, 1, False, 0.5)
    assert abs(width[0] - 101.6) <= 0.5 and abs(height[0] - 76.2) <= 0.5, (width, height)
    paper.clear()

    # One-inch photos fill the sheet, 2 mm apart; the layout chosen holds for the next preview.
    preview, _ = default_size_preview(main)
    assert preview.control(prefix="版式：").text == "版式：实际尺寸"
    assert choose_layout(preview, main, "1寸") == 1
    pdf = print_from(preview, main, paper)
    across, down = red_runs(pdf, 1, True, 0.56), red_runs(pdf, 1, False, 0.5)  # 8 rows: a gap in the middle
    assert len(across) == 7 and len(down) == 8, (across, down)  # 56 on the test printer's A4
    assert all(abs(run - 25) <= 0.5 for run in across) and all(abs(run - 35) <= 0.5 for run in down)
    paper.clear()

    # Five pictures, four to a page: two pages, as the preview counts them. (Where each lands is
    # the layouts' own business, checked without the printer.)
    for n in range(2, 6):
        make_picture(tmp_path / f"more{n}.png", "xc:#FF0000", "40x30")
    choose_files(main, tmp_path, [picture.name] + [f"more{n}.png" for n in range(2, 6)])
    wait_for_equal(main.status_message, "已载入 5 张图片")
    preview, _ = default_size_preview(main)
    assert choose_layout(preview, main, "每页 4 张") == 2
    assert print_from(preview, main, paper).pages == 2
