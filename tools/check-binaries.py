#!/usr/bin/env python3
"""Fails when a built executable would not run as it should on a real Windows: it reads the PE
headers and resources of 墨舟.exe and update.exe (shipped and test builds) of every Windows build
and checks
  - the application manifest (resource RT_MANIFEST 1): asInvoker, no UI access, Windows 7 to 11
    named as supported, common controls 6, a processor architecture that fits the image;
  - DEP (NX compatible) and ASLR (dynamic base with its relocations kept; high-entropy on 64-bit),
    and on 32-bit the use of addresses above 2 GB (large address aware);
  - version information naming the file, the same version in both executables of a build;
  - the third-party notices beside each 墨舟.exe (UTF-8 with a byte-order mark, CR LF);
  - the HEIC decoder's DLLs beside each 墨舟.exe (libheif.dll, libde265.dll): built for the
    program's machine, DEP and ASLR, importing nothing but Windows' own DLLs and each other (the C
    and C++ runtimes and winpthreads linked in).

Usage: check-binaries.py                 the builds in build/win (required) and build/win64
       check-binaries.py --build DIR...  those builds
       check-binaries.py FILE.exe|dll... only those files, without the notices
"""

from __future__ import annotations

import argparse
import struct
import sys
import xml.etree.ElementTree as ElementTree
from dataclasses import dataclass, field
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
PROGRAM = "墨舟.exe"
UPDATER = "update.exe"
NOTICES = "第三方软件许可.txt"
NOTICED_LIBRARIES = ["libjpeg-turbo", "libpng", "zlib", "libwebp", "libtiff", "dav1d", "libsodium", "pugixml",
                     "minizip", "mingw-w64", "winpthreads", "GCC RUNTIME LIBRARY EXCEPTION", "libde265.dll",
                     "libheif.dll", "GNU LESSER GENERAL PUBLIC LICENSE"]
# Loaded by the program from its own folder; each may import the other.
PROGRAM_DLLS = ["libheif.dll", "libde265.dll"]
# What every Windows has in its system folder.
WINDOWS_DLLS = {"kernel32.dll", "msvcrt.dll", "user32.dll", "advapi32.dll", "gdi32.dll", "ntdll.dll",
                "shell32.dll", "ole32.dll", "bcrypt.dll", "ws2_32.dll"}

MACHINES = {0x014C: "i686", 0x8664: "x86_64"}
MANIFEST_ARCHITECTURES = {"i686": "x86", "x86_64": "amd64"}
RELOCS_STRIPPED = 0x0001
LARGE_ADDRESS_AWARE = 0x0020
HIGH_ENTROPY_VA = 0x0020
DYNAMIC_BASE = 0x0040
NX_COMPAT = 0x0100
IMPORT_DIRECTORY, RESOURCE_DIRECTORY, RELOCATION_DIRECTORY = 1, 2, 5
RT_VERSION, RT_MANIFEST = 16, 24
FIXED_FILE_INFO_SIGNATURE = struct.pack("<I", 0xFEEF04BD)
SUPPORTED_OS = {
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}": "Windows 7",
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}": "Windows 8",
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}": "Windows 8.1",
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}": "Windows 10 and 11",
}


class BadImage(Exception):
    pass


@dataclass
class Image:
    path: Path
    data: bytes
    machine: str = ""
    characteristics: int = 0
    dll_characteristics: int = 0
    directories: list[tuple[int, int]] = field(default_factory=list)
    sections: list[tuple[int, int, int, int]] = field(default_factory=list)  # va, size, raw, raw size

    def unpack(self, layout: str, offset: int) -> tuple:
        if offset < 0 or offset + struct.calcsize(layout) > len(self.data):
            raise BadImage(f"truncated at offset {offset:#x}")
        return struct.unpack_from(layout, self.data, offset)

    def offset_of(self, rva: int) -> int:
        for va, size, raw, raw_size in self.sections:
            if va <= rva < va + max(size, raw_size):
                return raw + rva - va
        raise BadImage(f"address {rva:#x} lies in no section")


def read_image(path: Path) -> Image:
    image = Image(path, path.read_bytes())
    if image.data[:2] != b"MZ":
        raise BadImage("not an executable (no MZ header)")
    (pe,) = image.unpack("<I", 0x3C)
    if image.unpack("<4s", pe)[0] != b"PE\0\0":
        raise BadImage("no PE signature")
    machine, section_count, _, _, _, optional_size, image.characteristics = image.unpack("<HHIIIHH", pe + 4)
    if machine not in MACHINES:
        raise BadImage(f"unknown machine {machine:#x}")
    image.machine = MACHINES[machine]
    optional = pe + 24
    (magic,) = image.unpack("<H", optional)
    if (magic, image.machine) not in ((0x10B, "i686"), (0x20B, "x86_64")):
        raise BadImage(f"optional header {magic:#x} does not fit the machine {image.machine}")
    (image.dll_characteristics,) = image.unpack("<H", optional + 70)
    count_at = optional + (92 if magic == 0x10B else 108)
    (count,) = image.unpack("<I", count_at)
    image.directories = [image.unpack("<II", count_at + 4 + 8 * i) for i in range(min(count, 16))]
    for i in range(section_count):
        _, size, va, raw_size, raw = image.unpack("<8sIIII", optional + optional_size + 40 * i)
        image.sections.append((va, size, raw, raw_size))
    return image


def resources(image: Image) -> dict[tuple[int, int], bytes]:
    """(type, name) -> the data of the first language, for resources with numeric ids."""
    if len(image.directories) <= RESOURCE_DIRECTORY or image.directories[RESOURCE_DIRECTORY][1] == 0:
        return {}
    base = image.offset_of(image.directories[RESOURCE_DIRECTORY][0])

    def entries(directory: int) -> list[tuple[int, int]]:
        named, numbered = image.unpack("<HH", base + directory + 12)
        return [image.unpack("<II", base + directory + 16 + 8 * i) for i in range(named + numbered)]

    found = {}
    for type_id, type_at in entries(0):
        if type_id & 0x80000000 or not type_at & 0x80000000:
            continue
        for name_id, name_at in entries(type_at & 0x7FFFFFFF):
            if name_id & 0x80000000 or not name_at & 0x80000000:
                continue
            languages = entries(name_at & 0x7FFFFFFF)
            if languages and not languages[0][1] & 0x80000000:
                rva, size = image.unpack("<II", base + languages[0][1])
                at = image.offset_of(rva)
                found[(type_id, name_id)] = image.data[at:at + size]
    return found


def local(tag: str) -> str:
    return tag.rsplit("}", 1)[-1]


def manifest_problems(manifest: bytes, machine: str) -> list[str]:
    try:
        root = ElementTree.fromstring(manifest.decode("utf-8-sig"))
    except (UnicodeDecodeError, ElementTree.ParseError) as error:
        return [f"the manifest is not well-formed XML ({error})"]
    elements = list(root.iter())
    problems = []
    levels = [e.attrib for e in elements if local(e.tag) == "requestedExecutionLevel"]
    if not any(a.get("level") == "asInvoker" for a in levels):
        problems.append("the manifest does not request level=\"asInvoker\" (Windows may ask to elevate it)")
    if any(a.get("uiAccess", "false") != "false" for a in levels):
        problems.append("the manifest asks for uiAccess")
    named = {e.attrib.get("Id", "").lower() for e in elements if local(e.tag) == "supportedOS"}
    for guid, system in SUPPORTED_OS.items():
        if guid not in named:
            problems.append(f"the manifest does not name {system} as supported")
    identities = [e.attrib for e in elements if local(e.tag) == "assemblyIdentity"]
    if not any(a.get("name") == "Microsoft.Windows.Common-Controls" and a.get("version", "").startswith("6.")
               for a in identities):
        problems.append("the manifest does not ask for common controls 6")
    for identity in identities:
        architecture = identity.get("processorArchitecture", "*")
        if architecture not in ("*", MANIFEST_ARCHITECTURES[machine]):
            problems.append(f"the manifest's {identity.get('name')} is for {architecture}, the image is {machine}")
    return problems


def version_string(info: bytes, key: str) -> str | None:
    """A value of the version information's string table (UTF-16, 32-bit aligned)."""
    at = info.find((key + "\0").encode("utf-16-le"))
    if at < 0:
        return None
    at += len(key) * 2 + 2
    at += -at % 4
    end = at
    while end + 1 < len(info) and info[end:end + 2] != b"\0\0":
        end += 2
    return info[at:end].decode("utf-16-le", errors="replace")


def imported_dlls(image: Image) -> list[str]:
    """The names of the DLLs the image imports from."""
    if len(image.directories) <= IMPORT_DIRECTORY or image.directories[IMPORT_DIRECTORY][1] == 0:
        return []
    at = image.offset_of(image.directories[IMPORT_DIRECTORY][0])
    names = []
    while True:
        lookup, _, _, name, thunks = image.unpack("<IIIII", at)
        if not (lookup or name or thunks):
            return names
        start = image.offset_of(name)
        end = image.data.find(b"\0", start)
        if end < 0:
            raise BadImage("an imported DLL's name runs past the end of the file")
        names.append(image.data[start:end].decode("ascii", errors="replace"))
        at += 20


def security_problems(image: Image) -> list[str]:
    problems = []
    flags = image.dll_characteristics
    if not flags & NX_COMPAT:
        problems.append("DEP is off: DllCharacteristics lacks NX_COMPAT (link with --nxcompat)")
    if not flags & DYNAMIC_BASE:
        problems.append("ASLR is off: DllCharacteristics lacks DYNAMIC_BASE (link with --dynamicbase)")
    elif image.characteristics & RELOCS_STRIPPED or len(image.directories) <= RELOCATION_DIRECTORY \
            or image.directories[RELOCATION_DIRECTORY][1] == 0:
        problems.append("ASLR cannot move the image: it is dynamic-base but its relocations were stripped")
    if image.machine == "x86_64" and not flags & HIGH_ENTROPY_VA:
        problems.append("DllCharacteristics lacks HIGH_ENTROPY_VA (link with --high-entropy-va)")
    return problems


def dll_problems(image: Image) -> list[str]:
    problems = security_problems(image)
    allowed = WINDOWS_DLLS | set(PROGRAM_DLLS)
    for name in imported_dlls(image):
        if name.lower() not in allowed:
            problems.append(f"imports {name}, which is neither a Windows DLL nor shipped beside the program")
    return problems


def image_problems(image: Image) -> list[str]:
    problems = security_problems(image)
    if image.machine == "i686" and not image.characteristics & LARGE_ADDRESS_AWARE:
        problems.append("not large address aware (link with --large-address-aware)")
    found = resources(image)
    if (RT_MANIFEST, 1) not in found:
        problems.append("no application manifest (RT_MANIFEST resource 1): Windows may ask to elevate it")
    else:
        problems += manifest_problems(found[(RT_MANIFEST, 1)], image.machine)
    info = found.get((RT_VERSION, 1))
    if info is None or FIXED_FILE_INFO_SIGNATURE not in info:
        problems.append("no version information (RT_VERSION resource 1)")
    elif version_string(info, "OriginalFilename") != image.path.name:
        problems.append(f"the version information's OriginalFilename is "
                        f"{version_string(info, 'OriginalFilename')!r}, not {image.path.name!r}")
    return problems


def fixed_version(image: Image) -> tuple[int, int] | None:
    info = resources(image).get((RT_VERSION, 1), b"")
    at = info.find(FIXED_FILE_INFO_SIGNATURE)
    return struct.unpack_from("<II", info, at + 8) if at >= 0 and at + 16 <= len(info) else None


def notices_problems(path: Path) -> list[str]:
    if not path.is_file():
        return ["missing"]
    data = path.read_bytes()
    problems = []
    if not data.startswith(b"\xef\xbb\xbf"):
        problems.append("no UTF-8 byte-order mark")
    if data.count(b"\n") != data.count(b"\r\n"):
        problems.append("line breaks are not all CR LF")
    text = data.decode("utf-8", errors="replace")
    problems += [f"{name} is not named" for name in NOTICED_LIBRARIES if name not in text]
    return problems


def cache_value(build: Path, name: str) -> str | None:
    try:
        for line in (build / "CMakeCache.txt").read_text("utf-8").splitlines():
            if line.startswith(name + ":"):
                return line.split("=", 1)[1]
    except OSError:
        pass
    return None


def build_executables(build: Path) -> list[list[Path]]:
    """Each variant's program and updater: [program, updater]."""
    dist = Path(cache_value(build, "MOZHOU_DIST_DIR") or build / "dist")
    return [[dist / PROGRAM, build / "updater" / "shipped" / UPDATER],
            [build / "test-dist" / PROGRAM, build / "updater" / "test" / UPDATER]]


def check(paths: list[Path], groups: list[list[Path]]) -> tuple[list[str], int]:
    problems = []
    checked = 0
    versions: dict[Path, tuple[int, int] | None] = {}
    machines: dict[Path, str] = {}
    for path in paths:
        try:
            image = read_image(path)
        except OSError as error:
            problems.append(f"{path}: cannot be read ({error.strerror})")
            continue
        except BadImage as error:
            problems.append(f"{path}: {error}")
            continue
        checked += 1
        machines[path] = image.machine
        if path.suffix.lower() == ".dll":
            problems += [f"{path} ({image.machine}): {problem}" for problem in dll_problems(image)]
            continue
        problems += [f"{path} ({image.machine}): {problem}" for problem in image_problems(image)]
        versions[path] = fixed_version(image)
        if path.name == PROGRAM and groups:
            problems += [f"{path.parent / NOTICES}: {problem}" for problem in notices_problems(path.parent / NOTICES)]
    for program, updater in groups:
        if versions.get(program) and versions.get(updater) and versions[program] != versions[updater]:
            problems.append(f"{updater}: its version differs from that of {program}")
        for dll in (program.parent / name for name in PROGRAM_DLLS):
            if dll in machines and program in machines and machines[dll] != machines[program]:
                problems.append(f"{dll}: built for {machines[dll]}, the program beside it for {machines[program]}")
    return problems, checked


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--build", type=Path, action="append", help="a Windows build folder")
    parser.add_argument("files", type=Path, nargs="*", help="executables or DLLs to check alone")
    arguments = parser.parse_args()
    if arguments.files:
        paths, groups = arguments.files, []
    else:
        builds = arguments.build or [ROOT / "build" / "win"] + \
            [b for b in [ROOT / "build" / "win64"] if (b / "CMakeCache.txt").exists()]
        groups = [group for build in builds for group in build_executables(build)]
        paths = [path for program, updater in groups
                 for path in [program, updater] + [program.parent / name for name in PROGRAM_DLLS]]
    problems, checked = check(paths, groups)
    for problem in problems:
        print(f"binaries: {problem}", file=sys.stderr)
    if problems:
        return 1
    print(f"binaries: {checked} executables and DLLs: DEP, ASLR with relocations; the executables' manifests "
          f"asInvoker{', the notices and the DLLs beside each program' if groups else ''}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
