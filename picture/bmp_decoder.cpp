// Uncompressed Windows bitmaps (BITMAPFILEHEADER + BITMAPINFOHEADER or a later, longer header)
// of 1, 4, 8, 24 or 32 bits per pixel, decoded to Bgr24.
#include <array>
#include <cstring>

#include "picture/decoders.h"

namespace picture {
namespace {

constexpr std::size_t fileHeaderSize = 14;
constexpr std::size_t smallestInfoHeader = 40;

std::uint32_t Le16(Bytes b, std::size_t at) { return b[at] | (b[at + 1] << 8); }
std::uint32_t Le32(Bytes b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
           (static_cast<std::uint32_t>(b[at + 2]) << 16) |
           (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

// Palette entries as the three bytes the output wants; indices past the file's palette stay
// black, so that a stray index needs no check in the pixel loop.
using Colours = std::array<std::array<std::uint8_t, 3>, 256>;

template <int bits>
void ExpandIndexedRow(const std::uint8_t* source, std::uint8_t* out, int width,
                      const Colours& colours) {
    constexpr int perByte = 8 / bits;
    constexpr unsigned mask = (1u << bits) - 1;
    for (int x = 0; x < width; ++x) {
        const int shift = 8 - bits * (x % perByte + 1);
        const unsigned index = (source[x / perByte] >> shift) & mask;
        std::memcpy(out + 3 * static_cast<std::size_t>(x), colours[index].data(), 3);
    }
}

}  // namespace

std::optional<Image> DecodeBmp(Bytes bytes) {
    if (bytes.size() < fileHeaderSize + smallestInfoHeader) return std::nullopt;
    if (bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;

    const std::uint64_t pixelOffset = Le32(bytes, 10);
    const std::uint64_t headerSize = Le32(bytes, 14);
    const auto storedWidth = static_cast<std::int32_t>(Le32(bytes, 18));
    const auto storedHeight = static_cast<std::int32_t>(Le32(bytes, 22));
    const int bitCount = static_cast<int>(Le16(bytes, 28));
    const std::uint32_t compression = Le32(bytes, 30);
    const std::uint64_t coloursUsed = Le32(bytes, 46);

    if (headerSize < smallestInfoHeader) return std::nullopt;  // OS/2 core headers are not read
    if (compression != 0) return std::nullopt;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32) {
        return std::nullopt;
    }
    const std::int64_t width = storedWidth < 0 ? -std::int64_t{storedWidth} : storedWidth;
    const std::int64_t height = storedHeight < 0 ? -std::int64_t{storedHeight} : storedHeight;
    if (!AcceptableSize(width, height)) return std::nullopt;

    std::uint64_t dataStart = fileHeaderSize + headerSize;  // 64 bits: the header size is read
    if (dataStart > bytes.size()) return std::nullopt;
    Colours colours{};
    if (bitCount <= 8) {
        const std::uint64_t mostEntries = std::uint64_t{1} << bitCount;
        const std::uint64_t entries = coloursUsed == 0 ? mostEntries : coloursUsed;
        if (entries > mostEntries || dataStart + entries * 4 > bytes.size()) return std::nullopt;
        for (std::uint64_t i = 0; i < entries; ++i) {
            const std::size_t at = static_cast<std::size_t>(dataStart + i * 4);
            colours[i] = {bytes[at], bytes[at + 1], bytes[at + 2]};
        }
        dataStart += entries * 4;
    }
    if (pixelOffset < dataStart) return std::nullopt;

    // Every stored row is padded to 4 bytes; the last one may go without its padding.
    const std::uint64_t rowBytes = (static_cast<std::uint64_t>(width) * bitCount + 7) / 8;
    const std::uint64_t sourceStride = (rowBytes + 3) & ~std::uint64_t{3};
    const std::uint64_t needed = sourceStride * static_cast<std::uint64_t>(height - 1) + rowBytes;
    if (pixelOffset > bytes.size() || bytes.size() - pixelOffset < needed) return std::nullopt;

    auto image = AllocateImage(width, height, PixelFormat::Bgr24);
    if (!image) return std::nullopt;
    const int w = image->width;
    const int h = image->height;
    const bool bottomUp = storedHeight > 0;
    const std::uint8_t* data = bytes.data() + pixelOffset;

    for (int row = 0; row < h; ++row) {
        const std::uint8_t* source = data + static_cast<std::size_t>(row) * sourceStride;
        std::uint8_t* out = image->Row(bottomUp ? h - 1 - row : row);
        switch (bitCount) {
        case 24: std::memcpy(out, source, static_cast<std::size_t>(rowBytes)); break;
        case 32:
            for (int x = 0; x < w; ++x) std::memcpy(out + 3 * x, source + 4 * x, 3);
            break;
        case 8: ExpandIndexedRow<8>(source, out, w, colours); break;
        case 4: ExpandIndexedRow<4>(source, out, w, colours); break;
        case 1: ExpandIndexedRow<1>(source, out, w, colours); break;
        }
    }
    return image;
}

}  // namespace picture
