// Windows bitmaps (BITMAPFILEHEADER + BITMAPINFOHEADER or a later, longer header), decoded to
// Bgr24: uncompressed with 1, 4, 8, 16, 24 or 32 bits per pixel, 16 and 32 bits also with colour
// masks (BI_BITFIELDS), and run-length compressed with 8 (BI_RLE8) or 4 bits (BI_RLE4).
// An uncompressed file whose pixel data ends early is shown as far as it goes, the rest black,
// and marked incomplete. The resolution is the header's pixels per metre.
#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "picture/decoders.h"

namespace picture {
namespace {

constexpr std::size_t fileHeaderSize = 14;
constexpr std::size_t smallestInfoHeader = 40;
constexpr std::size_t masksInHeader = 52;  // headers this long hold the colour masks

enum Compression : std::uint32_t { plain = 0, rle8 = 1, rle4 = 2, bitFields = 3 };

// A file cut short takes the memory of the picture its header claims, which little data can do:
// beyond this much, the claim may exceed the data there by no more than this factor.
constexpr std::uint64_t cutFileAnySize = 16u * 1024 * 1024;
constexpr std::uint64_t cutFileBytesPerByte = 64;

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

// One colour channel of 16- and 32-bit pixels: its bits picked by a mask, brought to 8 bits by
// repeating them (5 bits abcde become abcdeabc), as full brightness must stay full.
class Channel {
public:
    // False for a mask whose bits are not all side by side.
    bool Set(std::uint32_t mask) {
        if (mask == 0) return true;  // the channel is always 0
        shift_ = std::countr_zero(mask);
        const int bits = std::countr_one(mask >> shift_);
        if (bits != std::popcount(mask)) return false;
        if (bits > 8) {  // only the top 8 bits count
            shift_ += bits - 8;
            mask_ = 0xFF;
        } else {
            mask_ = (1u << bits) - 1;
        }
        const int kept = std::min(bits, 8);
        for (unsigned v = 0; v <= mask_; ++v) {
            unsigned wide = 0;
            for (int filled = 0; filled < 8; filled += kept) wide = (wide << kept) | v;
            scaled_[v] = static_cast<std::uint8_t>(wide >> ((8 + kept - 1) / kept * kept - 8));
        }
        return true;
    }
    std::uint8_t operator()(std::uint32_t pixel) const { return scaled_[(pixel >> shift_) & mask_]; }

private:
    int shift_ = 0;
    std::uint32_t mask_ = 0;
    std::array<std::uint8_t, 256> scaled_{};
};

struct Masks {
    Channel red, green, blue;
};

template <int bits>
void ExpandMaskedRow(const std::uint8_t* source, std::uint8_t* out, int width, const Masks& masks) {
    for (int x = 0; x < width; ++x) {
        const std::uint8_t* p = source + x * (bits / 8);
        std::uint32_t pixel = p[0] | (p[1] << 8);
        if constexpr (bits == 32) pixel |= static_cast<std::uint32_t>(p[2] | (p[3] << 8)) << 16;
        out[3 * x] = masks.blue(pixel);
        out[3 * x + 1] = masks.green(pixel);
        out[3 * x + 2] = masks.red(pixel);
    }
}

// Walks run-length data of `bits` (8 or 4) per pixel, handing each stretch of pixels to
// put(x, row, indices, count) with row 0 the first stored one; put sees only pixels inside the
// picture, however the data places them. Each index comes from indices(i), i from 0 to count-1.
// False when the data ends before the end-of-bitmap code and before the end of the last row.
template <int bits, typename Put>
bool WalkRuns(Bytes data, int width, int height, Put put) {
    std::size_t at = 0;
    std::int64_t x = 0;
    std::int64_t row = 0;
    // Pixels past the right edge or after the last row are dropped.
    const auto emit = [&](std::int64_t count, auto index) {
        if (row < height && x < width) {
            put(static_cast<int>(x), static_cast<int>(row), index,
                static_cast<int>(std::min<std::int64_t>(count, width - x)));
        }
        x += count;
    };
    while (row < height) {
        if (data.size() - at < 2) return false;
        const unsigned count = data[at];
        const std::uint8_t value = data[at + 1];
        at += 2;
        if (count > 0) {
            if constexpr (bits == 8) {
                emit(count, [value](int) { return value; });
            } else {
                emit(count, [value](int i) { return (i & 1) ? value & 0x0F : value >> 4; });
            }
            continue;
        }
        switch (value) {
        case 0: x = 0, ++row; break;  // end of line
        case 1: return true;          // end of bitmap
        case 2:                       // move right and up (down the stored rows)
            if (data.size() - at < 2) return false;
            x += data[at];
            row += data[at + 1];
            at += 2;
            break;
        default: {  // `value` pixels stored one by one, padded to a whole 16-bit word
            const std::size_t stored = bits == 8 ? value : (value + 1u) / 2;
            if (data.size() - at < stored) return false;
            const std::uint8_t* p = data.data() + at;
            if constexpr (bits == 8) {
                emit(value, [p](int i) { return p[i]; });
            } else {
                emit(value, [p](int i) { return (i & 1) ? p[i / 2] & 0x0F : p[i / 2] >> 4; });
            }
            at += (stored + 1) & ~std::size_t{1};
            at = std::min(at, data.size());
        }
        }
    }
    return true;
}

// Run-length compressed bitmaps are bottom-up; pixels the data skips (with a move or an early
// end of line) show palette entry 0. The whole data is walked once before anything is
// allocated, so that a damaged file is refused without taking the picture's memory. Runs that
// end early cannot be told from other bytes read as runs: such a file is refused too.
template <int bits>
std::optional<Image> DecodeRuns(Bytes data, int width, int height, const Colours& colours) {
    if (!WalkRuns<bits>(data, width, height, [](int, int, auto, int) {})) return std::nullopt;
    auto image = AllocateImage(width, height, PixelFormat::Bgr24);
    if (!image) return std::nullopt;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* out = image->Row(y);
        for (int x = 0; x < width; ++x) std::memcpy(out + 3 * x, colours[0].data(), 3);
    }
    WalkRuns<bits>(data, width, height, [&](int x, int row, auto index, int count) {
        std::uint8_t* out = image->Row(height - 1 - row) + 3 * static_cast<std::size_t>(x);
        for (int i = 0; i < count; ++i) std::memcpy(out + 3 * i, colours[index(i)].data(), 3);
    });
    return image;
}

bool KnownLayout(int bitCount, std::uint32_t compression) {
    switch (compression) {
    case plain:
        return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 ||
               bitCount == 24 || bitCount == 32;
    case rle8: return bitCount == 8;
    case rle4: return bitCount == 4;
    case bitFields: return bitCount == 16 || bitCount == 32;
    }
    return false;
}

// What the headers and the palette say, checked.
struct Layout {
    std::uint64_t pixelOffset = 0;
    std::int32_t storedHeight = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;
    int bitCount = 0;
    std::uint32_t compression = plain;
    Masks masks;
    Colours colours{};
    double dpiX = 0;
    double dpiY = 0;
};

// The bytes of uncompressed pixel data: every stored row is padded to 4 bytes, and the last one
// may go without its padding.
std::uint64_t RowBytes(const Layout& layout) {
    return (static_cast<std::uint64_t>(layout.width) * layout.bitCount + 7) / 8;
}
std::uint64_t SourceStride(const Layout& layout) {
    return (RowBytes(layout) + 3) & ~std::uint64_t{3};
}
std::uint64_t NeededBytes(const Layout& layout) {
    return SourceStride(layout) * static_cast<std::uint64_t>(layout.height - 1) + RowBytes(layout);
}

std::optional<Layout> ReadLayout(Bytes bytes) {
    if (bytes.size() < fileHeaderSize + smallestInfoHeader) return std::nullopt;
    if (bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;

    const std::uint64_t pixelOffset = Le32(bytes, 10);
    const auto [headerSize, storedWidth, storedHeight, bitCount, compression, coloursUsed] =
        ReadBitmapInfoHeader(bytes, fileHeaderSize);

    if (headerSize < smallestInfoHeader) return std::nullopt;  // OS/2 core headers are not read
    if (!KnownLayout(bitCount, compression)) return std::nullopt;
    const bool runs = compression == rle8 || compression == rle4;
    if (runs && storedHeight < 0) return std::nullopt;  // compressed bitmaps are never top-down
    const std::int64_t width = storedWidth < 0 ? -std::int64_t{storedWidth} : storedWidth;
    const std::int64_t height = storedHeight < 0 ? -std::int64_t{storedHeight} : storedHeight;
    if (!AcceptableSize(width, height)) return std::nullopt;
    Layout layout;
    layout.storedHeight = storedHeight;
    layout.width = width;
    layout.height = height;
    layout.bitCount = bitCount;
    layout.compression = compression;
    layout.dpiX = DpiFromPerMetre(static_cast<std::int32_t>(Le32(bytes, fileHeaderSize + 24)));
    layout.dpiY = DpiFromPerMetre(static_cast<std::int32_t>(Le32(bytes, fileHeaderSize + 28)));

    std::uint64_t dataStart = fileHeaderSize + headerSize;  // 64 bits: the header size is read
    if (dataStart > bytes.size()) return std::nullopt;
    Masks& masks = layout.masks;
    if (bitCount == 16 || bitCount == 32) {
        // Without masks, 16 bits are 5 each of red, green and blue, 32 bits a byte each.
        std::uint32_t red = bitCount == 16 ? 0x7C00 : 0xFF0000;
        std::uint32_t green = bitCount == 16 ? 0x03E0 : 0x00FF00;
        std::uint32_t blue = bitCount == 16 ? 0x001F : 0x0000FF;
        if (compression == bitFields) {
            // After a 40-byte header the three masks follow it; longer headers hold them.
            const std::size_t at = fileHeaderSize + smallestInfoHeader;
            if (headerSize < masksInHeader) dataStart += 12;
            if (dataStart > bytes.size()) return std::nullopt;
            red = Le32(bytes, at), green = Le32(bytes, at + 4), blue = Le32(bytes, at + 8);
        }
        if (!masks.red.Set(red) || !masks.green.Set(green) || !masks.blue.Set(blue)) {
            return std::nullopt;
        }
    }
    Colours& colours = layout.colours;
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
    if (pixelOffset < dataStart || pixelOffset > bytes.size()) return std::nullopt;
    layout.pixelOffset = pixelOffset;
    if (!runs) {
        const std::uint64_t needed = NeededBytes(layout);
        const std::uint64_t present = bytes.size() - pixelOffset;
        if (present < needed && needed > cutFileAnySize + present * cutFileBytesPerByte) {
            return std::nullopt;
        }
    }
    return layout;
}

std::optional<Image> DecodePixels(Bytes bytes, const Layout& layout) {
    const std::uint64_t pixelOffset = layout.pixelOffset;
    const std::int64_t width = layout.width, height = layout.height;
    const int bitCount = layout.bitCount;
    const std::uint32_t compression = layout.compression;
    const Masks& masks = layout.masks;
    const Colours& colours = layout.colours;
    if (compression == rle8 || compression == rle4) {
        const Bytes data = bytes.subspan(static_cast<std::size_t>(pixelOffset));
        const int w = static_cast<int>(width), h = static_cast<int>(height);
        return compression == rle8 ? DecodeRuns<8>(data, w, h, colours)
                                   : DecodeRuns<4>(data, w, h, colours);
    }

    const std::uint64_t rowBytes = RowBytes(layout);
    const std::uint64_t sourceStride = SourceStride(layout);
    const std::uint64_t present = bytes.size() - pixelOffset;
    const bool complete = present >= NeededBytes(layout);

    auto image = AllocateImage(width, height, PixelFormat::Bgr24);
    if (!image) return std::nullopt;
    image->complete = complete;
    const int w = image->width;
    // The rows whose data is all there.
    const int h = complete ? image->height
                           : static_cast<int>(std::min<std::uint64_t>(present / sourceStride, height));
    const bool bottomUp = layout.storedHeight > 0;
    const bool standard32 = bitCount == 32 && compression == plain;
    const std::uint8_t* data = bytes.data() + pixelOffset;

    for (int row = 0; row < h; ++row) {
        const std::uint8_t* source = data + static_cast<std::size_t>(row) * sourceStride;
        std::uint8_t* out = image->Row(bottomUp ? image->height - 1 - row : row);
        switch (bitCount) {
        case 24: std::memcpy(out, source, static_cast<std::size_t>(rowBytes)); break;
        case 32:
            if (standard32) {
                for (int x = 0; x < w; ++x) std::memcpy(out + 3 * x, source + 4 * x, 3);
            } else {
                ExpandMaskedRow<32>(source, out, w, masks);
            }
            break;
        case 16: ExpandMaskedRow<16>(source, out, w, masks); break;
        case 8: ExpandIndexedRow<8>(source, out, w, colours); break;
        case 4: ExpandIndexedRow<4>(source, out, w, colours); break;
        case 1: ExpandIndexedRow<1>(source, out, w, colours); break;
        }
    }
    return image;
}

}  // namespace

std::optional<Image> DecodeBmp(Bytes bytes) {
    const std::optional<Layout> layout = ReadLayout(bytes);
    if (!layout) return std::nullopt;
    std::optional<Image> image = DecodePixels(bytes, *layout);
    if (image) {
        image->dpiX = layout->dpiX;
        image->dpiY = layout->dpiY;
    }
    return image;
}

std::optional<PictureInfo> ReadBmpInfo(Bytes bytes) {
    const std::optional<Layout> layout = ReadLayout(bytes);
    if (!layout) return std::nullopt;
    return PictureInfo{Kind::Bmp, static_cast<int>(layout->width), static_cast<int>(layout->height),
                       layout->dpiX, layout->dpiY};
}

}  // namespace picture
