#include "picture/dib_file.h"

#include <png.h>

#include <bit>
#include <cstring>

namespace picture {
namespace {

constexpr std::size_t fileHeaderSize = 14;
constexpr std::size_t infoHeaderSize = 40;
// Headers from BITMAPV2INFOHEADER on hold the colour masks themselves, from V3 the alpha mask.
constexpr std::size_t maskedHeaderSize = 52;
constexpr std::size_t alphaMaskedHeaderSize = 56;
constexpr std::uint32_t plainRgb = 0;   // BI_RGB
constexpr std::uint32_t bitFields = 3;  // BI_BITFIELDS

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

struct Masks {
    std::uint32_t red = 0, green = 0, blue = 0, alpha = 0;
};

// A masked channel scaled to 0..255.
std::uint8_t Channel(std::uint32_t pixel, std::uint32_t mask) {
    if (mask == 0) return 0;
    const int shift = std::countr_zero(mask);
    const std::uint32_t most = mask >> shift;
    return static_cast<std::uint8_t>((((pixel & mask) >> shift) * 255 + most / 2) / most);
}

std::size_t StrideOf(std::int64_t width, int bitCount) {
    return static_cast<std::size_t>((width * bitCount + 31) / 32) * 4;
}

// BITMAPFILEHEADER and a BITMAPINFOHEADER of an uncompressed bitmap; the palette and the pixels
// follow.
std::vector<std::uint8_t> BmpHeaders(std::int32_t width, std::int32_t height, int bitCount,
                                     std::uint32_t paletteEntries, std::size_t pixelBytes) {
    const std::uint32_t pixelOffset =
        static_cast<std::uint32_t>(fileHeaderSize + infoHeaderSize + 4 * paletteEntries);
    std::vector<std::uint8_t> out{'B', 'M'};
    out.reserve(pixelOffset + pixelBytes);
    Put32(out, static_cast<std::uint32_t>(pixelOffset + pixelBytes));
    Put32(out, 0);
    Put32(out, pixelOffset);
    Put32(out, infoHeaderSize);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(height));
    Put16(out, 1);
    Put16(out, static_cast<std::uint32_t>(bitCount));
    Put32(out, plainRgb);
    Put32(out, static_cast<std::uint32_t>(pixelBytes));
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, paletteEntries);
    Put32(out, 0);
    return out;
}

std::optional<std::vector<std::uint8_t>> PngOf(const Image& bgra) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(bgra.width);
    image.height = static_cast<png_uint_32>(bgra.height);
    image.format = PNG_FORMAT_BGRA;
    const auto stride = static_cast<png_int_32>(bgra.Stride());
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, bgra.pixels.data(), stride, nullptr)) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> out(size);
    if (!png_image_write_to_memory(&image, out.data(), &size, 0, bgra.pixels.data(), stride,
                                   nullptr)) {
        png_image_free(&image);
        return std::nullopt;
    }
    out.resize(size);
    return out;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> FileImageFromDib(Bytes dib) {
    if (dib.size() < infoHeaderSize) return std::nullopt;
    const auto [headerSize, width, storedHeight, bitCount, compression, coloursUsed] =
        ReadBitmapInfoHeader(dib, 0);
    if (headerSize < infoHeaderSize || headerSize > dib.size()) return std::nullopt;
    const std::int64_t height = storedHeight < 0 ? -std::int64_t{storedHeight} : storedHeight;
    if (width <= 0 || !AcceptableSize(width, height)) return std::nullopt;

    std::uint64_t at = headerSize;
    Masks masks;
    const bool direct = bitCount == 16 || bitCount == 32;
    if (compression == bitFields && direct) {
        // A plain information header is followed by the three masks; later headers hold them.
        std::size_t maskAt = maskedHeaderSize - 12;
        if (headerSize < maskedHeaderSize) {
            if (dib.size() < at + 12) return std::nullopt;
            maskAt = static_cast<std::size_t>(at);
            at += 12;
        }
        masks = {Le32(dib, maskAt), Le32(dib, maskAt + 4), Le32(dib, maskAt + 8), 0};
        if (headerSize >= alphaMaskedHeaderSize) masks.alpha = Le32(dib, maskedHeaderSize);
    } else if (compression == plainRgb && bitCount == 32) {
        masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
    } else if (compression == plainRgb && bitCount == 16) {
        masks = {0x7C00, 0x03E0, 0x001F, 0};
    } else if (compression != plainRgb ||
               (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24)) {
        return std::nullopt;
    }

    const std::uint64_t mostEntries = bitCount <= 8 ? std::uint64_t{1} << bitCount : 0;
    const std::uint64_t entries = bitCount <= 8 && coloursUsed == 0 ? mostEntries : coloursUsed;
    if (bitCount <= 8 && entries > mostEntries) return std::nullopt;
    const std::uint64_t paletteAt = at;
    at += entries * 4;
    const std::size_t stride = StrideOf(width, bitCount);
    const std::uint64_t rowBytes = (static_cast<std::uint64_t>(width) * bitCount + 7) / 8;
    // The last row may go without its padding.
    const std::uint64_t needed = stride * static_cast<std::uint64_t>(height - 1) + rowBytes;
    if (at > dib.size() || dib.size() - at < needed) return std::nullopt;
    const std::uint8_t* pixels = dib.data() + at;

    if (!direct) {
        const std::size_t pixelBytes = stride * static_cast<std::size_t>(height);
        std::vector<std::uint8_t> out =
            BmpHeaders(width, storedHeight, bitCount, static_cast<std::uint32_t>(entries), pixelBytes);
        out.insert(out.end(), dib.begin() + static_cast<std::ptrdiff_t>(paletteAt),
                   dib.begin() + static_cast<std::ptrdiff_t>(at));
        out.insert(out.end(), pixels, pixels + needed);
        out.resize(out.size() + (pixelBytes - needed), 0);
        return out;
    }

    // Pixels to blue, green, red, alpha, top row first.
    auto image = AllocateImage(width, height, PixelFormat::Bgra32);
    if (!image) return std::nullopt;
    const int w = image->width;
    const int h = image->height;
    bool someAlpha = false;
    bool someTranslucent = false;
    for (int row = 0; row < h; ++row) {
        const std::uint8_t* source = pixels + static_cast<std::size_t>(row) * stride;
        std::uint8_t* out = image->Row(storedHeight > 0 ? h - 1 - row : row);
        for (int x = 0; x < w; ++x) {
            const std::uint32_t pixel =
                bitCount == 32 ? Le32(Bytes(source + 4 * x, 4), 0) : Le16(Bytes(source + 2 * x, 2), 0);
            const std::uint8_t alpha = masks.alpha != 0 ? Channel(pixel, masks.alpha) : 255;
            out[4 * x] = Channel(pixel, masks.blue);
            out[4 * x + 1] = Channel(pixel, masks.green);
            out[4 * x + 2] = Channel(pixel, masks.red);
            out[4 * x + 3] = alpha;
            someAlpha = someAlpha || alpha != 0;
            someTranslucent = someTranslucent || alpha != 255;
        }
    }
    if (someAlpha && someTranslucent) return PngOf(*image);

    const std::size_t outStride = StrideOf(w, 24);
    std::vector<std::uint8_t> out = BmpHeaders(w, h, 24, 0, outStride * static_cast<std::size_t>(h));
    for (int y = h - 1; y >= 0; --y) {
        const std::uint8_t* source = image->Row(y);
        const std::size_t rowStart = out.size();
        for (int x = 0; x < w; ++x) out.insert(out.end(), source + 4 * x, source + 4 * x + 3);
        out.resize(rowStart + outStride, 0);
    }
    return out;
}

}  // namespace picture
