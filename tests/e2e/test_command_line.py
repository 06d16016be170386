"""Printing from the command line (/p, /pt) without the main window, and files named on it opened."""

from __future__ import annotations

import subprocess

from e2elib import App, wait_for_equal, windows_path
from mainwindow import MainWindow
from test_pictures import make_picture

PRINT_WAIT_S = 120


def run(driver, started, directory, args: str) -> App:
    app = App.launch(driver, windows_path(directory.exe), cwd=directory.windows_path(), args=args)
    started.apps.append(app)
    return app


def has_colour(pdf, wanted) -> bool:
    return any(all(abs(a - b) < 60 for a, b in zip(colour, wanted)) for *_, colour in pdf.render(dpi=20).pixels())


def test_p_prints_each_file_on_its_own_and_skips_one_that_does_not_decode(driver, started, program_dir, paper, tmp_path):
    (tmp_path / "a.txt").write_bytes("第一行 hello\nline two\n".encode("gb18030"))
    make_picture(tmp_path / "b.png", "xc:#FF0000")
    make_picture(tmp_path / "c.jpg", "xc:#0000FF")
    (tmp_path / "d.jpg").write_bytes((tmp_path / "c.jpg").read_bytes()[:200])
    directory = program_dir()
    names = " ".join(f'"{windows_path(tmp_path / name)}"' for name in ("a.txt", "b.png", "c.jpg", "d.jpg"))
    assert run(driver, started, directory, f"/p {names}").wait_exit(PRINT_WAIT_S) == 1
    text, red, blue = paper.printed_all(3)
    assert text.lines() == ["第一行 hello", "line two"]
    assert has_colour(red, (255, 0, 0)) and not has_colour(red, (0, 0, 255))
    assert has_colour(blue, (0, 0, 255)) and not has_colour(blue, (255, 0, 0))

    # A quoted name with spaces and a wildcard, cut at the width asked for.
    (tmp_path / "my notes 1.txt").write_text("abcdefghijkl", encoding="utf-8")
    paper.clear()
    pattern = windows_path(tmp_path / "my notes ?.TXT")
    assert run(driver, started, directory, f'-P "{pattern}" /W 5 /s').wait_exit(PRINT_WAIT_S) == 0
    assert [pdf.lines() for pdf in paper.printed_all(1)] == [["abcde", "fghij", "kl"]]


def test_an_unknown_printer_prints_nothing_and_a_line_not_understood_shows_the_usage(driver, started, program_dir, paper, tmp_path):
    (tmp_path / "a.txt").write_text("text", encoding="utf-8")
    directory = program_dir()
    assert run(driver, started, directory, f'/pt "{windows_path(tmp_path / "a.txt")}" NOSUCHPRINTER "" ""').wait_exit() == 2
    assert paper.nothing_printed()

    refused = run(driver, started, directory, "/p")
    box = refused.message_box(caption="墨舟")
    assert "/pt" in box.text
    box.press(1)
    assert refused.wait_exit() == 3


def test_p_while_the_program_runs_leaves_it_alone(driver, started, program_dir, launch, paper, tmp_path):
    (tmp_path / "a.txt").write_text("printed\n", encoding="utf-8")
    directory = program_dir()
    main = MainWindow(launch(directory))
    main.app.type_text("typed")
    assert run(driver, started, directory, f'/p "{windows_path(tmp_path / "a.txt")}"').wait_exit(PRINT_WAIT_S) == 0
    assert [pdf.lines() for pdf in paper.printed_all(1)] == [["printed"]]
    assert main.app.running and main.edit_box.text == "typed" and not main.app.message_boxes()


def test_files_named_without_p_open_in_the_program(driver, started, program_dir, tmp_path):
    (tmp_path / "a.txt").write_text("opened", encoding="utf-8")
    app = run(driver, started, program_dir(), f'"{windows_path(tmp_path / "a.txt")}"')
    main = MainWindow(app)
    wait_for_equal(lambda: main.edit_box.text, "opened\r\n")
    assert main.text_option.checked


def test_each_page_of_a_tiff_prints_as_a_picture_of_its_own(driver, started, program_dir, paper, tmp_path):
    subprocess.run(["convert", "-size", "60x40", "xc:#FF0000", "xc:#00FF00", "xc:#0000FF", "-compress", "lzw",
                    (tmp_path / "scan.tif").as_posix()], check=True)
    assert run(driver, started, program_dir(), f'/p "{windows_path(tmp_path / "scan.tif")}" /s').wait_exit(PRINT_WAIT_S) == 0
    colours = [(255, 0, 0), (0, 255, 0), (0, 0, 255)]
    for pdf, colour in zip(paper.printed_all(3), colours):
        assert [has_colour(pdf, c) for c in colours] == [c == colour for c in colours]
