#!/usr/bin/env python3
"""Writes the third-party notices that ship beside 墨舟.exe: for every library linked into the
program or its updater, and for the two LGPL libraries beside it as DLLs (libheif, libde265), its
name, the Debian source version it was built from and its licence notice, taken from the source
trees that tools/setup.sh unpacked and built (.cache/deps) and from the copyright files of the
installed mingw-w64 packages. Written as UTF-8 with a byte-order mark and CR LF line breaks, so
that Notepad shows it.

Usage: third-party-notices.py --arch i686|x86_64 --deps <repo>/.cache/deps --output FILE [--output FILE...]
"""

from __future__ import annotations

import argparse
import re
import subprocess
import sys
from dataclasses import dataclass
from pathlib import Path

TITLE = "墨舟 第三方软件许可"
INTRODUCTION = (
    "墨舟.exe 及其升级程序 update.exe 静态链接了下列第三方软件；其中 libheif 与 libde265 除外，"
    "它们是 墨舟.exe 旁单独的动态链接库 libheif.dll 与 libde265.dll（二者静态链接了 mingw-w64 与 GCC 运行库），"
    "墨舟 仅在打开 HEIC 图片时载入。"
    "按各软件的许可要求，此处列出每个软件的名称、构建所用的 Debian 源码包及版本，以及其版权与许可声明原文。\n"
    "墨舟.exe and its updater update.exe are statically linked with the following third-party "
    "software, except libheif and libde265: these are the separate libraries libheif.dll and "
    "libde265.dll beside 墨舟.exe (themselves statically linked with the mingw-w64 and GCC runtimes), "
    "which it loads only when it opens a HEIC picture. For each: its "
    "name, the Debian source package and version it was built from, and its copyright and licence "
    "notice as its authors wrote it."
)
RULE = "=" * 72
DOC = Path("/usr/share/doc")


class NoticeError(Exception):
    pass


@dataclass
class Notice:
    name: str
    source: str  # Debian source package and version
    text: str


def read_text(path: Path) -> str:
    try:
        data = path.read_bytes()
    except OSError as error:
        raise NoticeError(f"cannot read {path}: {error.strerror}") from None
    try:
        return data.decode("utf-8")
    except UnicodeDecodeError:
        return data.decode("latin-1")


def between(text: str, start: str, end: str | None, path: Path) -> str:
    """The part of text from the line that starts with start up to (without) the line that
    starts with end, or to the end."""
    match = re.search(r"^" + re.escape(start), text, re.MULTILINE)
    if not match:
        raise NoticeError(f"{path}: no line starting with {start!r}")
    rest = text[match.start():]
    if end is not None:
        stop = re.search(r"^" + re.escape(end), rest[1:], re.MULTILINE)
        if not stop:
            raise NoticeError(f"{path}: no line starting with {end!r} after {start!r}")
        rest = rest[:stop.start() + 1]
    return rest.strip("\n")


def uncomment(text: str, marker: str) -> str:
    """A licence comment without its C or assembler comment marks."""
    lines = []
    for line in text.splitlines():
        stripped = line.strip()
        if stripped in ("/*", "*/"):
            continue
        for mark in (marker + " ", marker):
            if stripped.startswith(mark):
                stripped = stripped[len(mark):]
                break
        lines.append(stripped)
    return "\n".join(lines).strip("\n")


# ---------------------------------------------------------------- sources in .cache/deps

def built_source(deps: Path, arch: str, library: str, package: str) -> tuple[Path, str]:
    """The source tree a library of this architecture was built from and its Debian version,
    as setup.sh's stamp records it."""
    stamp = deps / "stamps" / f"{arch}-{library}.stamp"
    try:
        version = stamp.read_text().split()[0]
    except (OSError, IndexError):
        raise NoticeError(f"{stamp} is missing: run tools/setup.sh first") from None
    upstream = version.split(":", 1)[-1].rsplit("-", 1)[0]
    tree = deps / "src" / f"{package}-{upstream}"
    if not tree.is_dir():
        raise NoticeError(f"{tree} is missing: the source {library} was built from is gone")
    return tree, f"{package} {version}"


def libjpeg_turbo(deps: Path, arch: str) -> Notice:
    tree, source = built_source(deps, arch, "libjpeg-turbo", "libjpeg-turbo")
    ijg = between(read_text(tree / "README.ijg"), "LEGAL ISSUES\n=", "REFERENCES\n=",
                  tree / "README.ijg")
    bsd = between(read_text(tree / "LICENSE.md"), "The Modified (3-clause) BSD License",
                  "Why Three Licenses?", tree / "LICENSE.md").replace("<br>", "")
    simd_file = tree / "simd" / "nasm" / "jsimdext.inc"
    simd = uncomment(between(read_text(simd_file), "; Copyright", "; ====", simd_file), ";")
    text = "\n\n".join([
        "This software is based in part on the work of the Independent JPEG Group.",
        "The IJG License (README.ijg)\n============================\n\n" + ijg,
        bsd,
        "The zlib License (SIMD extensions, simd/nasm/jsimdext.inc)\n"
        "==========================================================\n\n" + simd,
    ])
    return Notice("libjpeg-turbo", source, text)


def whole_file(deps: Path, arch: str, name: str, library: str, package: str, file: str,
               comment: str | None = None) -> Notice:
    tree, source = built_source(deps, arch, library, package)
    text = read_text(tree / file).strip("\n")
    return Notice(name, source, uncomment(text, comment) if comment else text)


def minizip(deps: Path, arch: str) -> Notice:
    tree, source = built_source(deps, arch, "minizip", "zlib")
    header = tree / "contrib" / "minizip" / "unzip.h"
    text = between(read_text(header), "/* unzip.h", "        Changes", header)
    text = "\n".join(line.rstrip() for line in text.removeprefix("/* ").splitlines())
    return Notice("minizip (zlib contrib/minizip)", source, text.rstrip("- \n"))


def dav1d(deps: Path, arch: str) -> Notice:
    tree, source = built_source(deps, arch, "dav1d", "dav1d")
    asm_file = tree / "src" / "ext" / "x86" / "x86inc.asm"
    asm = uncomment(between(read_text(asm_file), ";* Copyright", ";****", asm_file), ";*")
    text = "\n\n".join([
        read_text(tree / "COPYING").strip("\n"),
        "The x86 abstraction layer (src/ext/x86/x86inc.asm)\n"
        "==================================================\n\n" + asm,
        read_text(tree / "doc" / "PATENTS").strip("\n"),
    ])
    return Notice("dav1d", source, text)


# libheif.dll and libde265.dll are replaceable: what the LGPL asks of a program that uses a library
# through a shared library mechanism.
LGPL_DLL = (
    "{dll} 是 墨舟.exe 旁单独的动态链接库，墨舟 在需要时载入它，并不与之静态链接。按 GNU 较宽松通用公共许可证"
    "（LGPL）第 3 版，您可以自由地以您修改或自行构建的版本替换 {dll}，只要它提供同样的 {api} 接口。"
    "它由上面所列的 Debian 源码包构建（可从 Debian 存档取得，例如 apt-get source {package}），{built}。"
    "LGPL 与其所依据的 GNU GPL 第 3 版全文见本文件末尾。\n"
    "{dll} is a separate library beside 墨舟.exe, which loads it when it needs it and is not "
    "statically linked with it. Under the GNU Lesser General Public License, version 3, you may "
    "replace {dll} with a version you modified or built yourself that offers the same {api} "
    "interface. It was built from the Debian source package named above (available from the Debian "
    "archive, e.g. apt-get source {package}), {built_en}. The full texts of the LGPL and of the GNU "
    "GPL version 3 it builds on are at the end of this file."
)


def lgpl_dll(deps: Path, arch: str, library: str, wanted, built: str, built_en: str, api: str) -> Notice:
    tree, source = built_source(deps, arch, library, library)
    dll = f"{library}.dll"
    package = source.replace(" ", "=", 1)
    intro = LGPL_DLL.format(dll=dll, api=api, package=package, built=built, built_en=built_en)
    return Notice(f"{library} ({dll})", source,
                  intro + "\n\n" + dep5_notice(tree / "debian" / "copyright", wanted))


def libde265(deps: Path, arch: str) -> Notice:
    # The library, its MD5 code and the Win32 condition variables it uses on Windows.
    return lgpl_dll(deps, arch, "libde265",
                    lambda pattern: pattern in ("*", "libde265/md5.cc", "extra/win32cond.c"),
                    "除构建时略去编码器外未作修改（libde265/CMakeLists.txt 中删去了 encoder 目录与 en265.cc）",
                    "unchanged except that its encoder was left out of the build (libde265/CMakeLists.txt "
                    "compiles neither the encoder folder nor en265.cc)",
                    "libde265 1.0 (libde265/de265.h)")


def libheif(deps: Path, arch: str) -> Notice:
    return lgpl_dll(deps, arch, "libheif", lambda pattern: pattern == "*",
                    "未修改其源码，构建时只启用以 libde265 解码 HEIC",
                    "unchanged, built with HEIC decoding through libde265 as its only codec",
                    "libheif 1.15 (libheif/heif.h)")


def lgpl_texts(deps: Path, arch: str) -> Notice:
    tree, source = built_source(deps, arch, "libheif", "libheif")
    path = tree / "COPYING"
    copying = read_text(path)
    lgpl = between(copying, "                   GNU LESSER GENERAL PUBLIC LICENSE", "-------", path)
    gpl = between(copying, "                    GNU GENERAL PUBLIC LICENSE", "-------", path)
    return Notice("GNU LGPL 3 and GNU GPL 3 (the licences of libheif and libde265)", source,
                  lgpl + "\n\n" + gpl)


# ---------------------------------------------------------------- installed mingw-w64 packages

def installed(package: str) -> tuple[Path, str]:
    """The copyright file of an installed package and its Debian source package and version."""
    try:
        source = subprocess.run(
            ["dpkg-query", "-W", "-f=${source:Package} ${source:Version} (" + package + " ${Version})", package],
            check=True, capture_output=True, text=True).stdout.strip()
    except (OSError, subprocess.CalledProcessError):
        raise NoticeError(f"package {package} is not installed: run tools/setup.sh first") from None
    return DOC / package / "copyright", source


def dep5_paragraphs(text: str) -> list[dict[str, str]]:
    """The paragraphs of a machine-readable Debian copyright file, field name -> value, the
    continuation lines unindented and " ." made an empty line."""
    paragraphs = []
    for block in re.split(r"\n\s*\n", text):
        fields: dict[str, str] = {}
        name = None
        for line in block.splitlines():
            if line.startswith((" ", "\t")) and name:
                body = line.strip()
                fields[name] += "\n" + ("" if body == "." else line[1:])
            elif ":" in line and not line.startswith("#"):
                name, value = line.split(":", 1)
                fields[name] = value.strip()
        if fields:
            paragraphs.append(fields)
    return paragraphs


def dep5_notice(path: Path, wanted) -> str:
    """The paragraphs of a copyright file whose files are wanted(pattern), each with its
    copyright and licence, then the full text of every licence they name only by name."""
    paragraphs = dep5_paragraphs(read_text(path))
    standalone = {p["License"].split("\n", 1)[0]: p["License"] for p in paragraphs if "Files" not in p
                  and "License" in p}
    parts, named = [], []
    for paragraph in paragraphs:
        files = paragraph.get("Files", "").split()
        if not files or not any(wanted(pattern) for pattern in files):
            continue
        licence = paragraph.get("License", "")
        parts.append("Files: " + "\n       ".join(files) + "\nCopyright: " + paragraph.get("Copyright", "") +
                     "\nLicense: " + licence)
        if "\n" not in licence:
            for name in re.split(r"\s+(?:and|or)\s+", licence):
                if name not in named:
                    named.append(name)
    if not parts:
        raise NoticeError(f"{path}: no paragraph for the linked files")
    for name in named:
        if name not in standalone:
            raise NoticeError(f"{path}: the licence {name!r} has no text")
        parts.append("License: " + standalone[name])
    return "\n\n".join(parts)


def mingw_runtime(arch: str) -> Notice:
    path, source = installed(f"mingw-w64-{arch.replace('_', '-')}-dev")

    # The C runtime start-up and support code and the threads library are linked in; the
    # headers' declarations come under the project's general licence ("*").
    def linked(pattern: str) -> bool:
        return pattern == "*" or (pattern.startswith(("mingw-w64-crt/", "mingw-w64-libraries/winpthreads/"))
                                  and "tests_pthread" not in pattern)

    return Notice("mingw-w64 runtime and winpthreads", source, dep5_notice(path, linked))


def zlib(arch: str) -> Notice:
    del arch  # one package serves both architectures
    path, source = installed("libz-mingw-w64-dev")
    return Notice("zlib", source, dep5_notice(path, lambda pattern: pattern == "*"))


def gcc_runtime(arch: str) -> Notice:
    path, source = installed(f"gcc-mingw-w64-{arch.replace('_', '-')}-posix-runtime")
    text = read_text(path)
    licence = between(text, "GCC is Copyright", "On Debian GNU/Linux systems, the complete text of the GNU General",
                      path)
    libraries = between(text, "The following runtime libraries are licensed", " - libatomic", path)
    exception = between(text, "GCC RUNTIME LIBRARY EXCEPTION", "libquadmath/", path)
    return Notice(
        "GCC runtime libraries (libgcc, libstdc++), linked statically", source,
        "\n\n".join([licence,
                     "The GNU General Public License, version 3: https://www.gnu.org/licenses/gpl-3.0.html",
                     libraries + "\n - libstdc++-v3",
                     exception]))


def notices(deps: Path, arch: str) -> list[Notice]:
    return [
        libjpeg_turbo(deps, arch),
        whole_file(deps, arch, "libpng", "libpng", "libpng1.6", "LICENSE"),
        zlib(arch),
        whole_file(deps, arch, "libwebp", "libwebp", "libwebp", "COPYING"),
        whole_file(deps, arch, "libtiff", "libtiff", "tiff", "LICENSE.md"),
        dav1d(deps, arch),
        whole_file(deps, arch, "libsodium", "libsodium", "libsodium", "LICENSE", comment="*"),
        whole_file(deps, arch, "pugixml", "pugixml", "pugixml", "LICENSE.md"),
        minizip(deps, arch),
        mingw_runtime(arch),
        gcc_runtime(arch),
        libde265(deps, arch),
        libheif(deps, arch),
        lgpl_texts(deps, arch),
    ]


def document(entries: list[Notice]) -> bytes:
    sections = [TITLE, INTRODUCTION]
    for index, entry in enumerate(entries, 1):
        sections.append(f"{RULE}\n{index}. {entry.name}\nDebian 源码包 / Debian source package: "
                        f"{entry.source}\n{RULE}\n\n{entry.text}")
    text = "\n\n".join(sections) + "\n"
    text = "\n".join(line.rstrip() for line in text.split("\n"))
    return b"\xef\xbb\xbf" + text.replace("\n", "\r\n").encode("utf-8")


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--arch", required=True, choices=["i686", "x86_64"])
    parser.add_argument("--deps", required=True, type=Path)
    parser.add_argument("--output", required=True, type=Path, action="append")
    arguments = parser.parse_args()
    try:
        content = document(notices(arguments.deps, arguments.arch))
    except NoticeError as error:
        print(f"third-party notices: {error}", file=sys.stderr)
        return 1
    for output in arguments.output:
        output.parent.mkdir(parents=True, exist_ok=True)
        output.write_bytes(content)
    return 0


if __name__ == "__main__":
    sys.exit(main())
