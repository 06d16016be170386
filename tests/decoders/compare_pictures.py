#!/usr/bin/env python3
"""Decodes pictures in every format, depth and layout the program reads with picdump and compares
the pixels with another decoder's: ImageMagick's for BMP, PNG, GIF and PCX, djpeg's for JPEG
(exactly equal: the same library with the same settings).

The pictures are written by ImageMagick; layouts it does not write (top-down bitmaps, a GIF
whose first image has its own colour table, a cursor) are made from its files here.

Where the two decoders disagree on purpose, the reference is adjusted and the reason is given
with the case:
  * 16-bit PNG without a gAMA chunk: libpng's simplified interface takes the samples as linear
    light and converts them to sRGB with the 2.2 power law; ImageMagick just scales them. The
    reference is ImageMagick's 16-bit samples put through that power law, within 1.
  * 32-bit bitmaps: the program shows them opaque (the fourth byte is not alpha for Windows'
    BI_RGB bitmaps), and so all bitmaps with an alpha mask; ImageMagick reads it as alpha.
    Colours are compared, alpha must be 255.
  * Fully transparent pixels: only alpha is compared, their colour is not seen.
  * 1-bit PCX: the program reads the version 3 files Paintbrush writes; ImageMagick writes
    version 5, so the version byte is set to 3.

Usage: compare_pictures.py --picdump build/native/picdump --work build/native/decoders-tmp
"""
import argparse
import shutil
import struct
import subprocess
import sys
from pathlib import Path

CONVERT = "/usr/bin/convert"  # ImageMagick itself, whatever else is first on PATH
IDENTIFY = "/usr/bin/identify"
DJPEG = "/usr/bin/djpeg"

KIND_JPEG, KIND_BMP, KIND_ICON, KIND_CURSOR, KIND_GIF, KIND_PCX8, KIND_PCX1, KIND_PNG, KIND_WEBP = range(1, 10)


class Failure(Exception):
    pass


def run(args, stdin=None, accepted=(0,)):
    result = subprocess.run(args, input=stdin, capture_output=True)
    if result.returncode not in accepted:
        raise Failure(f"{' '.join(map(str, args))} failed: {result.stderr.decode(errors='replace')[:500]}")
    return result.stdout


def convert(*args):
    run([CONVERT, *map(str, args)])


# ------------------------------------------------------------------ reading pixel files

def parse_netpbm(data):
    """A P5/P6/P7 file as (width, height, RGBA bytes)."""
    magic = data[:2]
    if magic == b"P7":
        end = data.index(b"ENDHDR\n") + len(b"ENDHDR\n")
        fields = {}
        for line in data[:end].decode().splitlines()[1:-1]:
            key, _, value = line.partition(" ")
            fields[key] = value
        width, height, depth = int(fields["WIDTH"]), int(fields["HEIGHT"]), int(fields["DEPTH"])
        if depth != 4 or fields["MAXVAL"] != "255" or fields["TUPLTYPE"] != "RGB_ALPHA":
            raise Failure(f"unexpected PAM header {fields}")
        pixels = data[end:]
    elif magic in (b"P5", b"P6"):
        tokens, at = [], 2
        while len(tokens) < 3:  # width, height, maxval; no comments in djpeg's output
            while data[at:at + 1].isspace():
                at += 1
            start = at
            while not data[at:at + 1].isspace():
                at += 1
            tokens.append(int(data[start:at]))
        at += 1
        width, height, maxval = tokens
        if maxval != 255:
            raise Failure(f"maxval {maxval}")
        samples = data[at:]
        channels = 1 if magic == b"P5" else 3
        pixels = bytearray()
        for i in range(width * height):
            rgb = samples[i * channels:(i + 1) * channels] * (3 if channels == 1 else 1)
            pixels += rgb + b"\xff"
    else:
        raise Failure(f"not a netpbm file: {magic!r}")
    if len(pixels) != width * height * 4:
        raise Failure(f"pixel data is {len(pixels)} bytes, not {width * height * 4}")
    return width, height, bytes(pixels)


def magick_rgba(path, depth=8):
    """ImageMagick's decoding of the first image: (width, height, samples as a list)."""
    size = run([IDENTIFY, "-format", "%w %h\n", f"{path}[0]"]).decode().split()
    width, height = int(size[0]), int(size[1])
    raw = run([CONVERT, f"{path}[0]", "-depth", str(depth), "RGBA:-"])
    if depth == 16:
        samples = list(struct.unpack(f"<{len(raw) // 2}H", raw))
    else:
        samples = list(raw)
    if len(samples) != width * height * 4:
        raise Failure(f"ImageMagick gave {len(samples)} samples for {width}x{height}")
    return width, height, samples


# ------------------------------------------------------------------ comparing

def compare(ours, reference, width, tolerance=0, rgb_only=False):
    """Counts pixels that differ; returns a description of the first few, or ''."""
    bad = []
    for i in range(0, len(reference), 4):
        o, r = ours[i:i + 4], reference[i:i + 4]
        if rgb_only:
            ok = o[3] == 255 and all(abs(o[c] - r[c]) <= tolerance for c in range(3))
        elif r[3] == 0:
            ok = o[3] == 0
        else:
            ok = all(abs(o[c] - r[c]) <= tolerance for c in range(4))
        if not ok:
            bad.append(f"({i // 4 % width},{i // 4 // width}) ours {list(o)} theirs {list(r)}")
    if not bad:
        return ""
    return f"{len(bad)} pixels differ, e.g. " + "; ".join(bad[:3])


def srgb_from_linear(value16):
    """What libpng's simplified interface makes of a linear 16-bit sample."""
    return int(round(255 * (value16 / 65535) ** (1 / 2.2)))


# ------------------------------------------------------------------ layouts made here

def bmp_fields(data):
    offset, header = struct.unpack_from("<II", data, 10)
    width, height, _planes, bits, compression = struct.unpack_from("<iiHHI", data, 18)
    return offset, header, width, height, bits, compression


def make_top_down_bmp(source, target):
    """The same bitmap stored top row first: negative height, rows in the other order."""
    data = bytearray(source.read_bytes())
    offset, _header, width, height, bits, _compression = bmp_fields(data)
    stride = (width * bits + 31) // 32 * 4
    rows = [data[offset + y * stride:offset + (y + 1) * stride] for y in range(height)]
    data[offset:offset + stride * height] = b"".join(reversed(rows))
    struct.pack_into("<i", data, 22, -height)
    target.write_bytes(bytes(data))


def gif_blocks_after_screen(data):
    flags = data[10]
    at = 13 + (3 * (2 << (flags & 7)) if flags & 0x80 else 0)
    return at


def make_local_table_gif(source, target):
    """Moves the global colour table into the first image's descriptor."""
    data = source.read_bytes()
    flags = data[10]
    if not flags & 0x80:
        raise Failure("source GIF has no global table")
    table_size = 3 * (2 << (flags & 7))
    table = data[13:13 + table_size]
    at = 13 + table_size
    while data[at] == 0x21:  # extensions before the image
        at += 2
        while data[at]:
            at += data[at] + 1
        at += 1
    if data[at] != 0x2C:
        raise Failure("no image descriptor")
    descriptor = bytearray(data[at:at + 10])
    descriptor[9] = (descriptor[9] & 0x40) | 0x80 | (flags & 7)
    screen = bytearray(data[:13])
    screen[10] = flags & 0x70  # no global table
    target.write_bytes(bytes(screen) + data[13 + table_size:at] + bytes(descriptor) + table +
                       data[at + 10:])


def gif_first_image_flags(data):
    at = gif_blocks_after_screen(data)
    while data[at] == 0x21:
        at += 2
        while data[at]:
            at += data[at] + 1
        at += 1
    return data[at + 9], data[at + 10 + (3 * (2 << (data[at + 9] & 7)) if data[at + 9] & 0x80 else 0)]


def png_header(data):
    width, height, depth, colour_type, _c, _f, interlace = struct.unpack(">IIBBBBB", data[16:29])
    chunks, at = [], 8
    while at < len(data):
        length = struct.unpack(">I", data[at:at + 4])[0]
        chunks.append(data[at + 4:at + 8].decode("latin-1"))
        at += 12 + length
    return depth, colour_type, interlace, chunks


def jpeg_frame(data):
    """(frame marker, component count) of the first SOF."""
    at = 2
    while at < len(data):
        marker = data[at + 1]
        length = struct.unpack(">H", data[at + 2:at + 4])[0]
        if marker in (0xC0, 0xC1, 0xC2, 0xC9, 0xCA):
            return marker, data[at + 9]
        at += 2 + length
    raise Failure("no frame header")


# ------------------------------------------------------------------ the cases

class Case:
    def __init__(self, name, kind, make, reference="magick", check=None, tolerance=0,
                 rgb_only=False, why=""):
        self.name, self.kind, self.make, self.reference = name, kind, make, reference
        self.check, self.tolerance, self.rgb_only, self.why = check, tolerance, rgb_only, why


def cases(work):
    colour = work / "colour.png"     # 61 × 41: every row of every depth needs padding
    alpha = work / "alpha.png"       # the same with alpha from opaque to fully transparent
    tiny = work / "tiny.png"         # 1 × 1
    deep = work / "deep.png"         # 16-bit samples, 29 × 19
    convert("-seed", 3, "-size", "61x41", "plasma:red-blue", "-depth", 8, "PNG24:" + str(colour))
    convert(colour, "(", "-size", "41x61", "gradient:white-black", "-rotate", 90, ")", "-alpha", "off",
            "-compose", "CopyOpacity", "-composite", "-fill", "none", "-draw", "rectangle 0,0 6,6",
            "PNG32:" + str(alpha))
    convert("-size", "1x1", "xc:#3a7bd5", "PNG24:" + str(tiny))
    convert("-size", "29x19", "gradient:#102030-#f0e0d0", "-depth", 16, "PNG48:" + str(deep))

    def f(name):
        return work / name

    def im_to(source, *options, prefix):
        def make(target):
            convert(source, *options, f"{prefix}:{target}")
        return make

    def bmp_check(bits, compression=0, top_down=False):
        def check(data):
            _o, _h, _w, height, b, c = bmp_fields(data)
            return b == bits and c == compression and (height < 0) == top_down
        return check

    def top_down(source_name):
        def make(target):
            make_top_down_bmp(f(source_name), target)
        return make

    def png_check(depth, colour_type, interlace=0, without=()):
        def check(data):
            d, t, i, chunks = png_header(data)
            return d == depth and t == colour_type and i == interlace and not set(without) & set(chunks)
        return check

    def jpeg_check(marker, components):
        return lambda data: jpeg_frame(data) == (marker, components)

    def gif_check(interlaced=False, local=False, transparent=False, code_size=None):
        def check(data):
            flags, minimum_code_size = gif_first_image_flags(data)
            return (bool(flags & 0x40) == interlaced and bool(flags & 0x80) == local and
                    code_size in (None, minimum_code_size) and
                    (b"\x21\xf9" in data and data[data.index(b"\x21\xf9") + 3] & 1) == transparent)
        return check

    bmp8 = ("-colors", 256, "-type", "Palette", "-compress", "None")
    sixteen_bits = "libpng takes 16-bit samples to 8 bits through its gamma tables, not by plain scaling"
    result = [
        # Bitmaps: ImageMagick writes them bottom-up; the top-down ones are made from those.
        Case("bmp24.bmp", KIND_BMP, im_to(colour, "-type", "TrueColor", "-compress", "None", prefix="BMP3"),
             check=bmp_check(24)),
        Case("bmp24-topdown.bmp", KIND_BMP, top_down("bmp24.bmp"), check=bmp_check(24, top_down=True)),
        Case("bmp24-v5header.bmp", KIND_BMP, im_to(colour, "-type", "TrueColor", "-compress", "None", prefix="BMP"),
             check=lambda d: bmp_check(24)(d) and bmp_fields(d)[1] > 40),
        Case("bmp24-1x1.bmp", KIND_BMP, im_to(tiny, "-type", "TrueColor", "-compress", "None", prefix="BMP3"),
             check=bmp_check(24)),
        Case("bmp32.bmp", KIND_BMP, im_to(alpha, "-define", "bmp3:alpha=true", "-compress", "None", prefix="BMP3"),
             check=bmp_check(32), rgb_only=True, why="the fourth byte is not alpha in a BI_RGB bitmap"),
        Case("bmp32-topdown.bmp", KIND_BMP, top_down("bmp32.bmp"), check=bmp_check(32, top_down=True),
             rgb_only=True, why="the fourth byte is not alpha in a BI_RGB bitmap"),
        Case("bmp8.bmp", KIND_BMP, im_to(colour, *bmp8, prefix="BMP3"), check=bmp_check(8)),
        Case("bmp8-topdown.bmp", KIND_BMP, top_down("bmp8.bmp"), check=bmp_check(8, top_down=True)),
        Case("bmp4.bmp", KIND_BMP, im_to(colour, "-colors", 16, "-compress", "None", prefix="BMP3"),
             check=bmp_check(4)),
        Case("bmp4-topdown.bmp", KIND_BMP, top_down("bmp4.bmp"), check=bmp_check(4, top_down=True)),
        Case("bmp1.bmp", KIND_BMP, im_to(colour, "-monochrome", "-compress", "None", prefix="BMP3"),
             check=bmp_check(1)),
        Case("bmp1-topdown.bmp", KIND_BMP, top_down("bmp1.bmp"), check=bmp_check(1, top_down=True)),
        Case("bmp-rle8.bmp", KIND_BMP, im_to(colour, *bmp8[:-1], "RLE", prefix="BMP3"), check=bmp_check(8, 1)),
        Case("bmp16-565.bmp", KIND_BMP, im_to(colour, "-define", "bmp:subtype=RGB565", prefix="BMP"),
             check=bmp_check(16, 3)),
        Case("bmp32-bitfields.bmp", KIND_BMP, im_to(alpha, prefix="BMP"), check=bmp_check(32, 3), rgb_only=True,
             why="bitmaps are shown opaque"),
        Case("webp-lossy.webp", KIND_WEBP, im_to(colour, "-quality", 80, prefix="WEBP"),
             check=lambda d: d[12:16] == b"VP8 "),
        Case("webp-lossless-alpha.webp", KIND_WEBP, im_to(alpha, "-define", "webp:lossless=true", prefix="WEBP"),
             check=lambda d: d[12:16] == b"VP8L"),

        # PNG in every colour type and the bit depths that go with it.
        Case("png-grey1.png", KIND_PNG, im_to(colour, "-monochrome", "-define", "png:color-type=0",
                                             "-define", "png:bit-depth=1", prefix="PNG"), check=png_check(1, 0)),
        Case("png-grey2.png", KIND_PNG, im_to(colour, "-colorspace", "Gray", "-depth", 2, "-define", "png:color-type=0",
                                             "-define", "png:bit-depth=2", prefix="PNG"), check=png_check(2, 0)),
        Case("png-grey4.png", KIND_PNG, im_to(colour, "-colorspace", "Gray", "-depth", 4, "-define", "png:color-type=0",
                                             "-define", "png:bit-depth=4", prefix="PNG"), check=png_check(4, 0)),
        Case("png-grey8.png", KIND_PNG, im_to(colour, "-colorspace", "Gray", "-define", "png:color-type=0",
                                             "-define", "png:bit-depth=8", prefix="PNG"), check=png_check(8, 0)),
        Case("png-grey16.png", KIND_PNG, im_to(deep, "-colorspace", "Gray", "-define", "png:color-type=0",
                                              "-define", "png:bit-depth=16", prefix="PNG"), check=png_check(16, 0),
             tolerance=1, why=sixteen_bits),
        Case("png-greyalpha8.png", KIND_PNG, im_to(alpha, "-colorspace", "Gray", "-define", "png:color-type=4",
                                                  "-define", "png:bit-depth=8", prefix="PNG"), check=png_check(8, 4)),
        Case("png-palette8.png", KIND_PNG, im_to(colour, "-colors", 200, prefix="PNG8"), check=png_check(8, 3)),
        Case("png-palette4.png", KIND_PNG, im_to(colour, "-colors", 12, "-define", "png:bit-depth=4",
                                                "-define", "png:color-type=3", prefix="PNG"), check=png_check(4, 3)),
        Case("png-palette-transparent.png", KIND_PNG, im_to(alpha, "-channel", "A", "-threshold", "50%", "+channel",
                                                          "-colors", 100, prefix="PNG8"),
             check=lambda d: png_check(8, 3)(d) and "tRNS" in png_header(d)[3]),
        Case("png-rgb8.png", KIND_PNG, im_to(colour, prefix="PNG24"), check=png_check(8, 2)),
        Case("png-rgba8.png", KIND_PNG, im_to(alpha, prefix="PNG32"), check=png_check(8, 6)),
        Case("png-rgba8-interlaced.png", KIND_PNG, im_to(alpha, "-interlace", "PNG", prefix="PNG32"),
             check=png_check(8, 6, interlace=1)),
        Case("png-grey8-interlaced.png", KIND_PNG, im_to(colour, "-colorspace", "Gray", "-interlace", "PNG",
                                                        "-define", "png:color-type=0", "-define", "png:bit-depth=8",
                                                        prefix="PNG"), check=png_check(8, 0, interlace=1)),
        Case("png-rgb16.png", KIND_PNG, im_to(deep, prefix="PNG48"), check=png_check(16, 2),
             tolerance=1, why=sixteen_bits),
        Case("png-rgba16.png", KIND_PNG, im_to(alpha, "-depth", 16, prefix="PNG64"), check=png_check(16, 6),
             tolerance=1, why=sixteen_bits),
        Case("png-rgb16-linear.png", KIND_PNG, im_to(deep, "-define", "png:exclude-chunks=gAMA,cHRM,sRGB,iCCP",
                                                    prefix="PNG48"),
             reference="png16-linear", tolerance=1, check=png_check(16, 2, without=("gAMA", "sRGB")),
             why="16-bit samples without gAMA are linear light to libpng's simplified interface"),
        Case("png-1x1.png", KIND_PNG, im_to(tiny, prefix="PNG24"), check=png_check(8, 2)),

        # GIF: minimum code sizes 2, 4 and 8, interlaced, transparent, a local colour table.
        Case("gif-256.gif", KIND_GIF, im_to(colour, "-colors", 256, prefix="GIF"), check=gif_check(code_size=8)),
        Case("gif-16.gif", KIND_GIF, im_to(colour, "-colors", 16, prefix="GIF"), check=gif_check(code_size=4)),
        Case("gif-2.gif", KIND_GIF, im_to(colour, "-monochrome", prefix="GIF"), check=gif_check(code_size=2)),
        Case("gif-interlaced.gif", KIND_GIF, im_to(colour, "-colors", 64, "-interlace", "GIF", prefix="GIF"),
             check=gif_check(interlaced=True)),
        Case("gif-transparent.gif", KIND_GIF, im_to(alpha, "-colors", 64, prefix="GIF"),
             check=gif_check(transparent=True)),
        Case("gif87a.gif", KIND_GIF, im_to(colour, "-colors", 32, prefix="GIF87"), check=gif_check()),
        Case("gif-local-table.gif", KIND_GIF, lambda t: make_local_table_gif(f("gif-interlaced.gif"), t),
             check=gif_check(interlaced=True, local=True)),
        Case("gif-two-frames.gif", KIND_GIF, lambda t: convert(colour, "(", colour, "-negate", ")", "-colors", 64,
                                                               "GIF:" + str(t)), check=gif_check()),
        Case("gif-1x1.gif", KIND_GIF, im_to(tiny, prefix="GIF"), check=gif_check()),

        # PCX with a palette and 1-bit.
        Case("pcx8.pcx", KIND_PCX8, lambda t: convert(f("bmp8.bmp"), "PCX:" + str(t)),
             check=lambda d: d[3] == 8 and d[65] == 1),
        Case("pcx8-from16.pcx", KIND_PCX8, lambda t: convert(f("bmp4.bmp"), "PCX:" + str(t)),
             check=lambda d: d[3] == 8 and d[65] == 1),
        Case("pcx1.pcx", KIND_PCX1, lambda t: make_pcx1(f("bmp1.bmp"), t),
             check=lambda d: d[1] == 3 and d[3] == 1 and d[65] == 1 and d[16:22] == b"\xff\xff\xff\0\0\0",
             why="version byte set to 3 (ImageMagick writes 5); a negative, see make_pcx1"),

        # JPEG: compared with djpeg, which must give exactly the same pixels.
        Case("jpeg-420.jpg", KIND_JPEG, im_to(colour, "-quality", 85, prefix="JPEG"), reference="djpeg",
             check=jpeg_check(0xC0, 3)),
        Case("jpeg-422.jpg", KIND_JPEG, im_to(colour, "-sampling-factor", "2x1", prefix="JPEG"), reference="djpeg",
             check=jpeg_check(0xC0, 3)),
        Case("jpeg-444.jpg", KIND_JPEG, im_to(colour, "-sampling-factor", "1x1", "-quality", 97, prefix="JPEG"),
             reference="djpeg", check=jpeg_check(0xC0, 3)),
        Case("jpeg-progressive.jpg", KIND_JPEG, im_to(colour, "-interlace", "JPEG", prefix="JPEG"), reference="djpeg",
             check=jpeg_check(0xC2, 3)),
        Case("jpeg-grey.jpg", KIND_JPEG, im_to(colour, "-colorspace", "Gray", prefix="JPEG"), reference="djpeg",
             check=jpeg_check(0xC0, 1)),
        Case("jpeg-grey-progressive.jpg", KIND_JPEG, im_to(colour, "-colorspace", "Gray", "-interlace", "JPEG",
                                                          prefix="JPEG"), reference="djpeg", check=jpeg_check(0xC2, 1)),
        Case("jpeg-cmyk.jpg", KIND_JPEG, im_to(colour, "-colorspace", "CMYK", prefix="JPEG"), reference="djpeg",
             check=jpeg_check(0xC0, 4)),
        Case("jpeg-cmyk-progressive.jpg", KIND_JPEG, im_to(colour, "-colorspace", "CMYK", "-interlace", "JPEG",
                                                          prefix="JPEG"), reference="djpeg", check=jpeg_check(0xC2, 4)),
        Case("jpeg-1x1.jpg", KIND_JPEG, im_to(tiny, prefix="JPEG"), reference="djpeg", check=jpeg_check(0xC0, 3)),
        Case("jpeg-truncated.jpg", KIND_JPEG, lambda t: t.write_bytes(f("jpeg-444.jpg").read_bytes()[:1500]),
             reference="djpeg", check=jpeg_check(0xC0, 3), why="both show the missing part grey"),
    ]
    return result


def make_pcx1(source_bmp, target):
    """ImageMagick writes 1-bit PCX data with 1 for black whatever the header's two colours say,
    and reads it back the same way; its files only agree with their header when the first colour
    is white, which it is for the negative of a black-first bitmap."""
    convert(source_bmp, "-negate", "PCX:" + str(target))
    data = bytearray(target.read_bytes())
    if data[3] != 1 or data[65] != 1:
        raise Failure("ImageMagick did not write a 1-bit PCX")
    data[1] = 3
    target.write_bytes(bytes(data))


# ------------------------------------------------------------------ running them

def picdump(tool, path, out=None, incomplete=None):
    """The line picdump prints; with incomplete, whether it must say the data ends early (exit 3)."""
    args = [str(tool), str(path)] + ([str(out)] if out else [])
    result = subprocess.run(args, capture_output=True)
    if result.returncode not in (0, 1, 3) or (incomplete is not None and (result.returncode == 3) != incomplete):
        raise Failure(f"picdump exited with {result.returncode}: {result.stderr.decode(errors='replace')[:800]}")
    return [int(v) for v in result.stdout.split()]


def make_case(work, case):
    target = work / case.name
    case.make(target)
    if case.check and not case.check(target.read_bytes()):
        raise Failure("ImageMagick did not write the layout this case is about")


def run_case(tool, work, case):
    target = work / case.name
    dumped = work / (case.name + ".pam")
    dumped.unlink(missing_ok=True)
    line = picdump(tool, target, dumped)

    if case.reference == "djpeg":
        # djpeg exits with 2 after warnings, such as data that ends early.
        width, height, reference = parse_netpbm(run([DJPEG, "-pnm", str(target)], accepted=(0, 2)))
    elif case.reference == "png16-linear":
        width, height, deep = magick_rgba(target, depth=16)
        reference = [srgb_from_linear(v) if i % 4 != 3 else v >> 8 for i, v in enumerate(deep)]
    else:
        width, height, reference = magick_rgba(target)
    if line != [case.kind, width, height]:
        raise Failure(f"picdump printed {line}, expected {[case.kind, width, height]}")
    dumped_width, dumped_height, ours = parse_netpbm(dumped.read_bytes())
    if (dumped_width, dumped_height) != (width, height):
        raise Failure(f"PAM is {dumped_width}x{dumped_height}")
    difference = compare(ours, reference, width, case.tolerance, case.rgb_only)
    if difference:
        raise Failure(difference)


def icon_cases(tool, work):
    """Icons and cursors: picdump prints the size of the image the program picks."""
    results = []
    icon = work / "icon.ico"
    convert(work / "colour.png", "-define", "icon:auto-resize=16,32,48,256", "ICO:" + str(icon))
    small = work / "icon-small.ico"  # no 32-pixel image: the last one
    convert(work / "colour.png", "-define", "icon:auto-resize=16,24,48", "ICO:" + str(small))
    cursor = work / "cursor.cur"  # ImageMagick writes type 1 whatever the name; 2 makes a cursor
    data = bytearray(small.read_bytes())
    data[2] = 2
    cursor.write_bytes(bytes(data))
    # The directory's colour count of the 32-pixel entry (the second) as a 16- and an 8-colour
    # image would have it; ImageMagick writes 0, as for every image of 256 colours or more.
    few_colours = {}
    for colours in (16, 8):
        path = work / f"icon-{colours}-colours.ico"
        data = bytearray(icon.read_bytes())
        data[6 + 16 + 2] = colours
        path.write_bytes(bytes(data))
        few_colours[colours] = path

    sizes = {path: [tuple(map(int, s.split("x"))) for s in
                    run([IDENTIFY, "-format", "%wx%h\n", str(path)]).decode().split()]
             for path in (icon, small)}
    expectations = [
        # The rule goes by the directory's colour count, which ImageMagick leaves 0 (no palette)
        # for its true-colour images: none qualifies, so the last (256-pixel) image is taken.
        ("icon.ico", icon, KIND_ICON, sizes[icon][-1]),
        ("icon-small.ico", small, KIND_ICON, sizes[small][-1]),  # no 32-pixel one: the last
        ("cursor.cur", cursor, KIND_CURSOR, sizes[small][-1]),
        ("icon-16-colours.ico", few_colours[16], KIND_ICON, sizes[icon][1]),
        ("icon-8-colours.ico", few_colours[8], KIND_ICON, sizes[icon][-1]),  # too few: the last
    ]
    for name, path, kind, (width, height) in expectations:
        line = picdump(tool, path)
        error = "" if line == [kind, width, height] else f"picdump printed {line}, expected {[kind, width, height]}"
        results.append((name, error))
    return results


def refusal_cases(tool, work):
    """Bytes that are no picture, or a picture cut short before its pixels; cut among them, one
    that decodes as far as it goes and says so."""
    results = []
    for name, kind, source, length in [("png-cut.png", KIND_PNG, "png-rgb8.png", 300),
                                       ("bmp-cut.bmp", KIND_BMP, "bmp24.bmp", 2000),
                                       ("webp-cut.webp", KIND_WEBP, "webp-lossy.webp", 400)]:
        (work / name).write_bytes((work / source).read_bytes()[:length])
        try:
            line = picdump(tool, work / name, incomplete=True)
            results.append((name, "" if line[0] == kind else f"picdump printed {line}, expected kind {kind}"))
        except Failure as failure:
            results.append((name, str(failure)))
    samples = {
        "empty.bin": b"",
        "text.txt": b"This is a text file, no picture at all.\n" * 4,
        "seven-bytes.png": b"\x89PNG\r\n\x1a",
        "jpeg-header-cut.jpg": (work / "jpeg-420.jpg").read_bytes()[:100],
    }
    convert(work / "colour.png", "(", work / "colour.png", "-negate", ")", "WEBP:" + str(work / "webp-animated.webp"))
    samples["webp-animated.webp"] = (work / "webp-animated.webp").read_bytes()
    for name, data in samples.items():
        path = work / name
        path.write_bytes(data)
        line = picdump(tool, path)
        results.append((name, "" if line == [0, 0, 0] else f"picdump printed {line}, expected [0, 0, 0]"))
    return results


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--picdump", required=True, type=Path)
    parser.add_argument("--work", required=True, type=Path)
    parser.add_argument("-k", dest="only", help="only cases whose name contains this")
    args = parser.parse_args()
    for tool in (CONVERT, IDENTIFY, DJPEG):
        if not Path(tool).exists():
            print(f"{tool} is missing (tools/setup.sh installs it)", file=sys.stderr)
            return 2
    shutil.rmtree(args.work, ignore_errors=True)
    args.work.mkdir(parents=True)

    args.picdump = args.picdump.resolve()
    results = []
    for case in cases(args.work):
        try:
            make_case(args.work, case)  # every file, as some cases are made from others
            if args.only and args.only not in case.name:
                continue
            run_case(args.picdump, args.work, case)
            results.append((case.name + (f" ({case.why})" if case.why else ""), ""))
        except Failure as failure:
            results.append((case.name, str(failure)))
    if not args.only:
        for group in (icon_cases, refusal_cases):
            try:
                results += group(args.picdump, args.work)
            except Failure as failure:
                results.append((group.__name__, str(failure)))

    failed = 0
    for name, error in results:
        print(f"{'ok  ' if not error else 'FAIL'} {name}{': ' + error if error else ''}")
        failed += bool(error)
    print(f"{len(results) - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
