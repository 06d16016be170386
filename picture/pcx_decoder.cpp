// ZSoft PCX with run-length encoding: 8 bits in one plane with the 256-colour palette at the end
// of the file, or 1 bit in one plane. A file whose runs end early is shown as far as they go and
// marked incomplete; an 8-bit one has lost its palette with its end and is shown in greys.
// The resolution is the header's dots per inch across and down.
#include <algorithm>
#include <cstring>
#include <new>

#include "picture/decoders.h"

namespace picture {
namespace {

constexpr std::size_t headerSize = 128;
constexpr std::size_t endPaletteSize = 1 + 256 * 3;  // the 0x0C marker, then RGB triples


std::uint32_t Quad(const std::uint8_t* rgb) {
    return static_cast<std::uint32_t>(rgb[2]) | (static_cast<std::uint32_t>(rgb[1]) << 8) |
           (static_cast<std::uint32_t>(rgb[0]) << 16);
}

// Expands the runs in `data` into rows of `bytesPerLine` bytes, handing each row to rowDone.
// Runs may go on into the next row. False when the data ends before the last row; `at` is left
// where the runs end.
template <typename RowDone>
bool ExpandRuns(Bytes data, std::size_t bytesPerLine, int rows, std::vector<std::uint8_t>& line,
                RowDone rowDone, std::size_t& at) {
    line.assign(bytesPerLine, 0);
    at = 0;
    std::size_t filled = 0;
    std::uint8_t value = 0;
    std::size_t runLeft = 0;
    for (int row = 0; row < rows; ++row) {
        while (filled < bytesPerLine) {
            if (runLeft == 0) {
                if (at >= data.size()) return false;
                const std::uint8_t b = data[at++];
                if ((b & 0xC0) == 0xC0) {
                    if (at >= data.size()) return false;
                    runLeft = b & 0x3F;
                    value = data[at++];
                    continue;
                }
                value = b;
                runLeft = 1;
            }
            const std::size_t n = std::min(runLeft, bytesPerLine - filled);
            std::memset(line.data() + filled, value, n);
            filled += n;
            runLeft -= n;
        }
        rowDone(row, line.data());
        filled = 0;
    }
    return true;
}

// What the header says, checked, and where the runs are.
struct Header {
    int bitsPerPixel = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::size_t bytesPerLine = 0;
    std::size_t usedPerLine = 0;
    bool paletteAtEnd = false;
    Bytes runs;
    double dpiX = 0;
    double dpiY = 0;
};

std::optional<Header> ReadHeader(Bytes bytes) {
    if (bytes.size() < headerSize) return std::nullopt;
    if (bytes[0] != 0x0A || bytes[2] != 1) return std::nullopt;
    const int bitsPerPixel = bytes[3];
    const std::int64_t width = std::int64_t{Le16(bytes, 8)} - Le16(bytes, 4) + 1;
    const std::int64_t height = std::int64_t{Le16(bytes, 10)} - Le16(bytes, 6) + 1;
    const int planes = bytes[65];
    const std::size_t bytesPerLine = Le16(bytes, 66);
    if (planes != 1 || (bitsPerPixel != 8 && bitsPerPixel != 1)) return std::nullopt;
    if (!AcceptableSize(width, height)) return std::nullopt;
    const std::size_t usedPerLine =
        static_cast<std::size_t>(bitsPerPixel == 8 ? width : (width + 7) / 8);
    if (bytesPerLine < usedPerLine) return std::nullopt;

    Bytes runs = bytes.subspan(headerSize);
    const bool paletteAtEnd = bitsPerPixel == 8 && bytes.size() >= headerSize + endPaletteSize &&
                              bytes[bytes.size() - endPaletteSize] == 0x0C;
    if (paletteAtEnd) runs = runs.first(runs.size() - endPaletteSize);
    // Two bytes make at most 63: a header claiming more than the runs can hold is refused before
    // anything is allocated.
    if (static_cast<std::uint64_t>(bytesPerLine) * static_cast<std::uint64_t>(height) >
        (static_cast<std::uint64_t>(runs.size()) + 1) / 2 * 63) {
        return std::nullopt;
    }
    return Header{bitsPerPixel, width,        height, bytesPerLine,
                  usedPerLine,  paletteAtEnd, runs,   SensibleDpi(Le16(bytes, 12)),
                  SensibleDpi(Le16(bytes, 14))};
}

}  // namespace

std::optional<PictureInfo> ReadPcxInfo(Bytes bytes) {
    const std::optional<Header> header = ReadHeader(bytes);
    if (!header) return std::nullopt;
    return PictureInfo{header->bitsPerPixel == 8 ? Kind::Pcx8 : Kind::Pcx1,
                       static_cast<int>(header->width), static_cast<int>(header->height),
                       header->dpiX, header->dpiY};
}

std::optional<Image> DecodePcx(Bytes bytes) {
    const std::optional<Header> header = ReadHeader(bytes);
    if (!header) return std::nullopt;
    const int bitsPerPixel = header->bitsPerPixel;
    const std::int64_t width = header->width, height = header->height;
    const std::size_t bytesPerLine = header->bytesPerLine, usedPerLine = header->usedPerLine;
    const bool paletteAtEnd = header->paletteAtEnd;
    const Bytes runs = header->runs;
    std::optional<Image> image;
    if (bitsPerPixel == 8) {
        image = AllocateImage(width, height, PixelFormat::Indexed8);
        if (!image) return std::nullopt;
        const std::size_t paletteAt = bytes.size() - endPaletteSize;
        for (std::uint32_t i = 0; i < 256; ++i) {
            image->palette[i] =
                paletteAtEnd ? Quad(bytes.data() + paletteAt + 1 + 3 * i) : i * 0x010101;
        }
        image->paletteSize = 256;
    } else {
        image = AllocateImage(width, height, PixelFormat::Mono1);
        if (!image) return std::nullopt;
        // Header palette entries 0 and 1; files that leave both black mean black on white.
        image->palette[0] = Quad(bytes.data() + 16);
        image->palette[1] = Quad(bytes.data() + 19);
        if (image->palette[0] == 0 && image->palette[1] == 0) image->palette[1] = 0xFFFFFF;
        image->paletteSize = 2;
    }

    // Bits past the right edge are cleared so that the padding is the same in every row.
    const int spareBits = bitsPerPixel == 1 ? static_cast<int>(usedPerLine * 8 - width) : 0;
    const auto lastByteMask = static_cast<std::uint8_t>(0xFF << spareBits);
    std::vector<std::uint8_t> line;
    bool complete = false;
    std::size_t runsEnd = 0;
    try {
        complete = ExpandRuns(runs, bytesPerLine, image->height, line,
                              [&](int row, const std::uint8_t* pixels) {
                                  std::uint8_t* out = image->Row(row);
                                  std::memcpy(out, pixels, usedPerLine);
                                  out[usedPerLine - 1] &= lastByteMask;
                              },
                              runsEnd);
    } catch (const std::bad_alloc&) {  // the line buffer
        return std::nullopt;
    }
    // Without its palette only a file cut short is one: in its runs, or in the palette after them.
    if (bitsPerPixel == 8 && !paletteAtEnd && complete) {
        if (runsEnd == runs.size() || runs[runsEnd] != 0x0C || runs.size() - runsEnd >= endPaletteSize) {
            return std::nullopt;
        }
        complete = false;
    }
    image->complete = complete;
    image->dpiX = header->dpiX;
    image->dpiY = header->dpiY;
    return image;
}

}  // namespace picture
