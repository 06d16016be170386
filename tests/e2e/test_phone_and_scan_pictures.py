"""Pictures from phones and scanners: HEIC and AVIF turned as their container says, a multi-page
TIFF loaded as its pages with a fax page printed sharp, and HEIC without its decoder DLLs."""

from __future__ import annotations

import subprocess
from pathlib import Path

from e2elib import wait_for_equal, windows_path
from mainwindow import IDOK, MainWindow, print_dialog
from test_command_line import PRINT_WAIT_S, run
from test_picture_layouts import QUADRANTS, oriented_jpeg
from test_pictures import choose_file, make_picture
from test_print_picture import answer, choose_size, load_picture

HEIC_LIBRARIES = ("libheif.dll", "libde265.dll")


def quadrants(path: Path, *stored_as: str) -> Path:
    """Four coloured quarters (as in QUADRANTS), stored turned or mirrored by stored_as."""
    subprocess.run(["convert", "-size", "80x60", "xc:red", "-size", "80x60", "xc:lime", "+append", "(",
                    "-size", "80x60", "xc:blue", "-size", "80x60", "xc:yellow", "+append", ")", "-append",
                    *stored_as, path.as_posix()], check=True)
    return path


def avif(path: Path, source: Path, *options: str) -> Path:
    subprocess.run(["avifenc", "--lossless", *options, source.as_posix(), path.as_posix()], check=True,
                   capture_output=True)
    return path


def assert_upright(pdf) -> None:
    """The printed picture's four quarters where the upright picture has them."""
    raster = pdf.render(dpi=20)
    xs, ys = zip(*((x, y) for x, y, colour in raster.pixels() if min(colour) < 200))  # the picture: all the ink
    for (column, row), colour in QUADRANTS.items():
        x, y = [min(v) + (max(v) - min(v)) * (1 + 2 * at) // 4 for v, at in ((xs, column), (ys, row))]
        seen = tuple(raster.rgb[3 * (y * raster.width + x):][:3])
        assert all(abs(a - b) <= 40 for a, b in zip(seen, colour)), (pdf.path.name, column, row, seen)


def test_heic_and_avif_print_upright_by_their_containers_turn_and_mirror(driver, started, program_dir, paper, tmp_path):
    # AVIF stored mirrored, then turned a quarter clockwise: imir and irot undo them.
    mirrored = avif(tmp_path / "a-mirrored.avif", quadrants(tmp_path / "m.png", "-flop"), "--imir", "1")
    turned = avif(tmp_path / "b-turned.avif", quadrants(tmp_path / "t.png", "-rotate", "90"), "--irot", "1")
    # A HEIC stored upright whose EXIF block says "turn a quarter": HEIF readers go by the
    # container alone, so it prints as stored.
    heic = tmp_path / "c-exif.heic"
    subprocess.run(["heif-enc", "-q", "95", oriented_jpeg(tmp_path / "e.jpg", 1).as_posix(), "-o", heic.as_posix()],
                   check=True, capture_output=True)
    upright_tag, turned_tag = (b"\x12\x01\x03\x00\x01\x00\x00\x00" + bytes([n, 0]) for n in (1, 6))
    assert heic.read_bytes().count(upright_tag) == 1
    heic.write_bytes(heic.read_bytes().replace(upright_tag, turned_tag))
    names = " ".join(f'"{windows_path(p)}"' for p in (mirrored, turned, heic))
    assert run(driver, started, program_dir(), f"/p {names} /s").wait_exit(PRINT_WAIT_S) == 0
    for pdf in paper.printed_all(3):
        assert_upright(pdf)


def test_without_its_decoder_dlls_a_heic_file_says_so_and_the_program_goes_on(launch, program_dir, tmp_path):
    heic = tmp_path / "photo.heic"
    subprocess.run(["heif-enc", "-q", "90", make_picture(tmp_path / "p.png", "xc:#FF0000").as_posix(), "-o",
                    heic.as_posix()], check=True, capture_output=True)
    directory = program_dir()
    for name in HEIC_LIBRARIES:
        directory.file(name).unlink()
    main = MainWindow(launch(directory))
    main.picture_option.click()
    main.window.control("查找").click()
    choose_file(main, heic)
    wait_for_equal(main.status_message, "缺少 HEIC 解码组件")
    assert not main.print_button.enabled
    load_picture(main, make_picture(tmp_path / "blue.png", "xc:#0000FF"))
    assert main.app.running


def test_a_scanned_tiff_loads_as_its_pages_and_its_fax_page_prints_in_black_and_white(app, paper, tmp_path):
    subprocess.run(["convert", "-size", "400x300", "pattern:checkerboard", "-threshold", "50%", "-type", "bilevel",
                    "-compress", "group4", (tmp_path / "fax.tif").as_posix()], check=True)
    make_picture(tmp_path / "red.tif", "xc:#FF0000")
    subprocess.run(["tiffcp", str(tmp_path / "fax.tif"), str(tmp_path / "red.tif"), str(tmp_path / "scan.tif")],
                   check=True)
    main = MainWindow(app)
    load_picture(main, tmp_path / "scan.tif")
    main.print_button.click()
    answer(main, "( Dpi)", 300)
    choose_size(main, by_hand=False)
    print_dialog(app).press(IDOK)
    pdf = paper.printed()
    assert pdf.pages == 2
    # The fax page reaches the paper in black and white alone: no grey from smoothing.
    subprocess.run(["pdfimages", "-f", "1", "-l", "1", "-png", str(pdf.path), str(tmp_path / "page")], check=True)
    images = sorted(tmp_path.glob("page-*.png"))
    assert images
    colours = {line.split()[2] for image in images for line in subprocess.run(
        ["convert", image.as_posix(), "-unique-colors", "txt:-"], capture_output=True, text=True,
        check=True).stdout.splitlines()[1:]}
    assert len(colours) == 2, colours
