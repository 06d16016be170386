#include "icon_encoder.h"

#include "little_endian.h"

#include <cstddef>

namespace mozhou::assets {

namespace {

struct PaletteEntry {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
};

constexpr std::array<PaletteEntry, iconColourCount> standardPalette = {{
    {0x00, 0x00, 0x00},
    {0x80, 0x00, 0x00},
    {0x00, 0x80, 0x00},
    {0x80, 0x80, 0x00},
    {0x00, 0x00, 0x80},
    {0x80, 0x00, 0x80},
    {0x00, 0x80, 0x80},
    {0xC0, 0xC0, 0xC0},
    {0x80, 0x80, 0x80},
    {0xFF, 0x00, 0x00},
    {0x00, 0xFF, 0x00},
    {0xFF, 0xFF, 0x00},
    {0x00, 0x00, 0xFF},
    {0xFF, 0x00, 0xFF},
    {0x00, 0xFF, 0xFF},
    {0xFF, 0xFF, 0xFF},
}};

constexpr std::uint16_t iconResourceType = 1;
constexpr std::uint16_t imageCount = 1;
constexpr std::uint16_t planeCount = 1;
constexpr std::uint32_t iconDirSize = 6;
constexpr std::uint32_t iconDirEntrySize = 16;
constexpr std::uint32_t infoHeaderSize = 40;
constexpr std::uint32_t paletteEntrySize = 4;
constexpr std::uint32_t uncompressed = 0;
constexpr unsigned bitsPerByte = 8;
constexpr unsigned rowAlignment = 4;

// Colour bitmap and mask are stacked in one DIB, so its height is doubled.
constexpr int stackedBitmapCount = 2;

constexpr std::uint32_t AlignedRowBytes(unsigned bitsPerPixel)
{
    const unsigned bits = iconSide * bitsPerPixel;
    const unsigned bytes = (bits + bitsPerByte - 1) / bitsPerByte;
    return (bytes + rowAlignment - 1) / rowAlignment * rowAlignment;
}

constexpr std::uint32_t colourRowBytes = AlignedRowBytes(iconBitsPerPixel);
constexpr std::uint32_t maskRowBytes = AlignedRowBytes(1);
constexpr std::uint32_t paletteSize = iconColourCount * paletteEntrySize;
constexpr std::uint32_t bitmapBytes = (colourRowBytes + maskRowBytes) * iconSide;
constexpr std::uint32_t imageBytes = infoHeaderSize + paletteSize + bitmapBytes;
constexpr std::uint32_t imageOffset = iconDirSize + iconDirEntrySize;

// The packing loops below write whole bytes only, which a 32-pixel row allows.
static_assert(colourRowBytes * bitsPerByte == iconSide * iconBitsPerPixel);
static_assert(maskRowBytes * bitsPerByte == iconSide);

const IconPixel& PixelAt(const IconPixels& pixels, int x, int y)
{
    return pixels[static_cast<std::size_t>(y) * iconSide + x];
}

void AppendDirectory(std::vector<std::uint8_t>& bytes)
{
    AppendWord(bytes, 0);
    AppendWord(bytes, iconResourceType);
    AppendWord(bytes, imageCount);

    AppendByte(bytes, iconSide);
    AppendByte(bytes, iconSide);
    AppendByte(bytes, iconColourCount);
    AppendByte(bytes, 0);
    AppendWord(bytes, planeCount);
    AppendWord(bytes, iconBitsPerPixel);
    AppendDword(bytes, imageBytes);
    AppendDword(bytes, imageOffset);
}

void AppendInfoHeader(std::vector<std::uint8_t>& bytes)
{
    AppendDword(bytes, infoHeaderSize);
    AppendLong(bytes, iconSide);
    AppendLong(bytes, iconSide * stackedBitmapCount);
    AppendWord(bytes, planeCount);
    AppendWord(bytes, iconBitsPerPixel);
    AppendDword(bytes, uncompressed);
    AppendDword(bytes, bitmapBytes);
    AppendLong(bytes, 0);
    AppendLong(bytes, 0);
    AppendDword(bytes, iconColourCount);
    AppendDword(bytes, 0);
}

void AppendPalette(std::vector<std::uint8_t>& bytes)
{
    for (const PaletteEntry& entry : standardPalette) {
        AppendByte(bytes, entry.blue);
        AppendByte(bytes, entry.green);
        AppendByte(bytes, entry.red);
        AppendByte(bytes, 0);
    }
}

// DIB rows run bottom-up. Masked pixels get index 0 so that the colour
// bitmap, XORed onto the screen behind the mask, leaves the screen as it was.
void AppendColourBitmap(std::vector<std::uint8_t>& bytes, const IconPixels& pixels)
{
    constexpr int pixelsPerByte = bitsPerByte / iconBitsPerPixel;
    for (int y = iconSide - 1; y >= 0; --y) {
        for (int x = 0; x < iconSide; x += pixelsPerByte) {
            std::uint8_t packed = 0;
            for (int part = 0; part < pixelsPerByte; ++part) {
                const IconPixel& pixel = PixelAt(pixels, x + part, y);
                const auto index = pixel.opaque ? static_cast<unsigned>(pixel.colour) : 0u;
                const unsigned shift = (pixelsPerByte - 1 - part) * iconBitsPerPixel;
                packed = static_cast<std::uint8_t>(packed | (index << shift));
            }
            AppendByte(bytes, packed);
        }
    }
}

// A set mask bit lets the screen show through; the leftmost pixel is the
// byte's top bit.
void AppendMask(std::vector<std::uint8_t>& bytes, const IconPixels& pixels)
{
    constexpr unsigned topBit = 1u << (bitsPerByte - 1);
    for (int y = iconSide - 1; y >= 0; --y) {
        for (int x = 0; x < iconSide; x += bitsPerByte) {
            std::uint8_t packed = 0;
            for (unsigned part = 0; part < bitsPerByte; ++part) {
                if (!PixelAt(pixels, x + static_cast<int>(part), y).opaque) {
                    packed = static_cast<std::uint8_t>(packed | (topBit >> part));
                }
            }
            AppendByte(bytes, packed);
        }
    }
}

} // namespace

std::vector<std::uint8_t> EncodeIcon(const IconPixels& pixels)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(imageOffset + imageBytes);
    AppendDirectory(bytes);
    AppendInfoHeader(bytes);
    AppendPalette(bytes);
    AppendColourBitmap(bytes, pixels);
    AppendMask(bytes, pixels);
    return bytes;
}

} // namespace mozhou::assets
