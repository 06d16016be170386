"""What lands on paper: the PDFs the test printer (a cups-pdf queue) writes, read with poppler's tools."""

from __future__ import annotations

import math
import os
import re
import subprocess
import time
from dataclasses import dataclass
from pathlib import Path

from .paths import BUILD

PDF_WAIT_S = 60.0
QUEUE_DRAIN_S = 60.0
STABLE_FOR_S = 0.5
POLL_S = 0.2
PDF_END = b"%%EOF"
POINTS_PER_INCH = 72


def pdf_dir() -> Path:
    return Path(os.environ.get("MOZHOU_PDF_DIR", BUILD / "pdf"))


def queue_name() -> str:
    return os.environ.get("MOZHOU_PRINTER", "MozhouPDF")


def _run(*command: str | os.PathLike) -> str:
    return subprocess.run([str(c) for c in command], capture_output=True, text=True, check=True).stdout


def _complete(path: Path) -> bool:
    with open(path, "rb") as pdf:
        pdf.seek(max(0, path.stat().st_size - 64))
        return PDF_END in pdf.read()


class Paper:
    """The printer's output folder, seen by one test: what was in it before the test is gone. Every
    program printing on this machine shares the printer, so a case that prints needs it to itself."""

    def __init__(self, folder: Path | None = None, queue: str | None = None):
        self.folder = folder or pdf_dir()
        self.queue = queue or queue_name()

    def pending_jobs(self) -> list[str]:
        return [line for line in _run("lpstat", "-o", self.queue).splitlines() if line.strip()]

    def clear(self) -> None:
        """Lets jobs still in the queue finish, then removes every PDF in the folder."""
        deadline = time.monotonic() + QUEUE_DRAIN_S
        while self.pending_jobs() and time.monotonic() < deadline:
            time.sleep(POLL_S)
        for pdf in self.files():
            pdf.unlink(missing_ok=True)

    def files(self) -> list[Path]:
        return sorted(p for p in self.folder.glob("*.pdf") if p.is_file())

    def printed(self, timeout: float = PDF_WAIT_S) -> "PrintedPdf":
        """Waits for a PDF written to its end (its size no longer changing) and returns it."""
        deadline = time.monotonic() + timeout
        sizes: dict[Path, tuple[int, float]] = {}
        while True:
            now = time.monotonic()
            for pdf in self.files():
                size = pdf.stat().st_size
                seen, since = sizes.get(pdf, (-1, now))
                if size != seen:
                    sizes[pdf] = (size, now)
                elif size and now - since >= STABLE_FOR_S and _complete(pdf):
                    return PrintedPdf(pdf)
            if now >= deadline:
                raise TimeoutError(f"no PDF in {self.folder} within {timeout} s; queue: {self.pending_jobs()}")
            time.sleep(POLL_S)

    def printed_all(self, count: int, timeout: float = PDF_WAIT_S) -> list["PrintedPdf"]:
        """Waits for count PDFs written to their end, and gives them in the order they were printed."""
        deadline = time.monotonic() + timeout
        while True:
            done = [pdf for pdf in self.files() if pdf.stat().st_size and _complete(pdf)]
            if len(done) >= count and not self.pending_jobs():
                job = lambda pdf: int(m.group(1)) if (m := re.search(r"job_(\d+)", pdf.name)) else 0
                return [PrintedPdf(pdf) for pdf in sorted(done, key=job)]
            if time.monotonic() >= deadline:
                raise TimeoutError(f"{len(done)} of {count} PDFs in {self.folder} within {timeout} s")
            time.sleep(POLL_S)

    def nothing_printed(self, settle: float = 2.0) -> bool:
        """True when, after settle seconds, no job is queued and no PDF has appeared."""
        time.sleep(settle)
        return not self.pending_jobs() and not self.files()


@dataclass(frozen=True)
class PrintedPdf:
    path: Path

    def info(self) -> dict[str, str]:
        fields = (line.split(":", 1) for line in _run("pdfinfo", self.path).splitlines() if ":" in line)
        return {key.strip(): value.strip() for key, value in fields}

    @property
    def pages(self) -> int:
        return int(self.info()["Pages"])

    def page_texts(self) -> list[str]:
        """Each page's text as laid out on it (pdftotext -layout)."""
        pages = _run("pdftotext", "-layout", "-enc", "UTF-8", self.path, "-").split("\f")
        return pages[:-1] if pages and not pages[-1].strip() else pages

    def page_lines(self) -> list[list[str]]:
        """The lines with ink on them, page by page, without the indentation the layout adds."""
        return [[line.strip() for line in page.splitlines() if line.strip()] for page in self.page_texts()]

    def lines(self) -> list[str]:
        return [line for page in self.page_lines() for line in page]

    def page_height(self) -> float:
        """In points: "595 x 842 pts (A4)" gives 842."""
        return float(self.info()["Page size"].split()[2])

    def word_boxes(self, page: int = 1) -> list[tuple[str, float, float, float, float]]:
        """(word, left, top, right, bottom) of each word on a page, in points from its top left corner."""
        words = _run("pdftotext", "-bbox", "-f", str(page), "-l", str(page), self.path, "-")
        pattern = r'<word xMin="([^"]*)" yMin="([^"]*)" xMax="([^"]*)" yMax="([^"]*)">([^<]*)</word>'
        return [(word, *map(float, box)) for *box, word in re.findall(pattern, words)]

    def line_corners(self, page: int = 1) -> list[tuple[float, float]]:
        """(left, top) of each line of text on a page, top to bottom; a line is the words that share a top."""
        lefts: dict[float, float] = {}
        for _, left, top, _, _ in self.word_boxes(page):
            lefts[top] = min(left, lefts.get(top, math.inf))
        return [(left, top) for top, left in sorted(lefts.items())]

    def fonts(self) -> list[str]:
        """Font names as embedded, without the subset tag: "ABCDEF+LiberationSerif" reads "LiberationSerif"."""
        rows = _run("pdffonts", self.path).splitlines()[2:]
        return [row.split()[0].split("+")[-1] for row in rows if row.strip()]

    def render(self, page: int = 1, dpi: int = POINTS_PER_INCH) -> "Raster":
        data = subprocess.run(["pdftoppm", "-r", str(dpi), "-f", str(page), "-l", str(page), str(self.path)],
                              capture_output=True, check=True).stdout
        return Raster.from_ppm(data)


@dataclass(frozen=True)
class Raster:
    """A rendered page: RGB bytes, row by row."""

    width: int
    height: int
    rgb: bytes

    @classmethod
    def from_ppm(cls, data: bytes) -> "Raster":
        fields: list[bytes] = []
        position = 0
        while len(fields) < 4:  # magic, width, height, maximum value; comments skipped
            while data[position:position + 1].isspace():
                position += 1
            if data[position:position + 1] == b"#":
                position = data.index(b"\n", position) + 1
                continue
            end = position
            while not data[end:end + 1].isspace():
                end += 1
            fields.append(data[position:end])
            position = end
        if fields[0] != b"P6" or fields[3] != b"255":
            raise ValueError(f"not an 8-bit PPM: {fields}")
        width, height = int(fields[1]), int(fields[2])
        return cls(width, height, data[position + 1:position + 1 + width * height * 3])

    def pixels(self):
        """(x, y, (r, g, b)) of every pixel that is not white."""
        rgb = self.rgb
        for offset in range(0, len(rgb), 3):
            pixel = (rgb[offset], rgb[offset + 1], rgb[offset + 2])
            if pixel != (255, 255, 255):
                index = offset // 3
                yield index % self.width, index // self.width, pixel

    def ink(self, left: int, top: int, right: int, bottom: int, is_ink=lambda pixel: min(pixel) < 128) -> list[tuple[int, int]]:
        """(x, y) of the ink pixels inside a rectangle, right and bottom excluded."""
        rgb, width = self.rgb, self.width
        return [(x, y) for y in range(top, bottom) for x in range(left, right)
                if is_ink(rgb[(y * width + x) * 3:(y * width + x) * 3 + 3])]

    def ink_rows(self, is_ink=lambda pixel: min(pixel) < 128) -> tuple[int, int] | None:
        """The first and last row holding ink, or None on an empty page."""
        rows = [y for _, y, pixel in self.pixels() if is_ink(pixel)]
        return (min(rows), max(rows)) if rows else None
