#include "background_art.h"
#include "icon_encoder.h"
#include "jpeg_encoder.h"
#include "tray_icon_art.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

namespace {

using mozhou::assets::IconPixel;
using mozhou::assets::IconPixels;
using mozhou::assets::StandardColour;

constexpr std::size_t trayIconFileSize = 766;
constexpr int iconColours = 16;
constexpr int iconBitsPerPixel = 4;
constexpr std::size_t directoryEntrySize = 16;
constexpr std::size_t directoryEntryOffset = 6;
constexpr std::size_t entryWidthOffset = directoryEntryOffset;
constexpr std::size_t entryHeightOffset = directoryEntryOffset + 1;
constexpr std::size_t entryColourCountOffset = directoryEntryOffset + 2;
constexpr std::size_t entryPlanesOffset = directoryEntryOffset + 4;
constexpr std::size_t entryBitCountOffset = directoryEntryOffset + 6;
constexpr std::size_t entryImageSizeOffset = directoryEntryOffset + 8;
constexpr std::size_t entryImageOffsetOffset = directoryEntryOffset + 12;
constexpr std::size_t infoHeaderSize = 40;
constexpr std::size_t infoHeightOffset = 8;
constexpr std::size_t infoBitCountOffset = 14;
constexpr std::size_t paletteBytes = 64;
constexpr std::size_t colourBitmapBytes = 512;
constexpr std::size_t maskRowBytes = 4;
constexpr int side = 32;
constexpr int jpegQuality = 85;
constexpr unsigned backgroundWidth = 384;
constexpr unsigned backgroundHeight = 240;
constexpr int rgbComponents = 3;
constexpr unsigned bitsPerByte = 8;
constexpr int wordBytes = 2;
constexpr int dwordBytes = 4;

std::uint32_t ReadLittleEndian(const std::vector<std::uint8_t>& bytes, std::size_t offset, int width)
{
    std::uint32_t value = 0;
    for (int index = width - 1; index >= 0; --index) {
        value = (value << bitsPerByte) | bytes[offset + static_cast<std::size_t>(index)];
    }
    return value;
}

std::uint16_t ReadWord(const std::vector<std::uint8_t>& bytes, std::size_t offset)
{
    return static_cast<std::uint16_t>(ReadLittleEndian(bytes, offset, wordBytes));
}

std::uint32_t ReadDword(const std::vector<std::uint8_t>& bytes, std::size_t offset)
{
    return ReadLittleEndian(bytes, offset, dwordBytes);
}

// Reads the mask bit of (x, y), y counted from the top, by following the
// offsets the file itself declares.
bool IsTransparent(const std::vector<std::uint8_t>& icon, int x, int y)
{
    const std::size_t image = ReadDword(icon, entryImageOffsetOffset);
    const std::size_t mask = image + infoHeaderSize + paletteBytes + colourBitmapBytes;
    const std::size_t row = static_cast<std::size_t>(side - 1 - y);
    const auto column = static_cast<unsigned>(x);
    const std::uint8_t packed = icon[mask + row * maskRowBytes + column / bitsPerByte];
    return (packed >> (bitsPerByte - 1 - column % bitsPerByte)) & 1u;
}

TEST(TrayIcon, HasTheBuiltInSizeAndFormat)
{
    const std::vector<std::uint8_t> icon = mozhou::assets::EncodeIcon(mozhou::assets::DrawTrayIcon());

    ASSERT_EQ(icon.size(), trayIconFileSize);
    EXPECT_EQ(ReadWord(icon, 0), 0);
    EXPECT_EQ(ReadWord(icon, 2), 1);
    EXPECT_EQ(ReadWord(icon, 4), 1);
    EXPECT_EQ(icon[entryWidthOffset], side);
    EXPECT_EQ(icon[entryHeightOffset], side);
    EXPECT_EQ(icon[entryColourCountOffset], iconColours);
    EXPECT_EQ(ReadWord(icon, entryPlanesOffset), 1);
    EXPECT_EQ(ReadWord(icon, entryBitCountOffset), iconBitsPerPixel);

    const std::uint32_t imageOffset = ReadDword(icon, entryImageOffsetOffset);
    const std::uint32_t imageSize = ReadDword(icon, entryImageSizeOffset);
    EXPECT_EQ(imageOffset, directoryEntryOffset + directoryEntrySize);
    EXPECT_EQ(imageOffset + imageSize, icon.size());

    EXPECT_EQ(ReadDword(icon, imageOffset), infoHeaderSize);
    EXPECT_EQ(ReadDword(icon, imageOffset + infoHeightOffset), 2u * side);
    EXPECT_EQ(ReadWord(icon, imageOffset + infoBitCountOffset), iconBitsPerPixel);
}

TEST(TrayIcon, MaskKeepsThePrinterAndClearsTheCorners)
{
    const std::vector<std::uint8_t> icon = mozhou::assets::EncodeIcon(mozhou::assets::DrawTrayIcon());

    EXPECT_TRUE(IsTransparent(icon, 0, 0));
    EXPECT_TRUE(IsTransparent(icon, side - 1, 0));
    EXPECT_TRUE(IsTransparent(icon, 0, side - 1));
    EXPECT_TRUE(IsTransparent(icon, side - 1, side - 1));

    constexpr int middle = side / 2;
    constexpr int sheetTop = 6;
    constexpr int sheetBottom = 28;
    EXPECT_FALSE(IsTransparent(icon, middle, middle));
    EXPECT_FALSE(IsTransparent(icon, middle, sheetTop));
    EXPECT_FALSE(IsTransparent(icon, middle, sheetBottom));
}

TEST(IconEncoder, StoresRowsBottomUpWithLeftmostPixelInTheHighBits)
{
    IconPixels pixels{};
    pixels[0] = IconPixel{StandardColour::white, true};

    const std::vector<std::uint8_t> icon = mozhou::assets::EncodeIcon(pixels);
    const std::size_t colourBitmap = ReadDword(icon, entryImageOffsetOffset) + infoHeaderSize + paletteBytes;
    const std::size_t lastColourRow = colourBitmap + colourBitmapBytes - colourBitmapBytes / side;

    constexpr std::uint8_t whiteThenMaskedBlack = 0xF0;
    EXPECT_EQ(icon[lastColourRow], whiteThenMaskedBlack);
    EXPECT_FALSE(IsTransparent(icon, 0, 0));
    EXPECT_TRUE(IsTransparent(icon, 1, 0));
    EXPECT_TRUE(IsTransparent(icon, 0, 1));
}

struct JpegHeader {
    bool progressive = false;
    bool multipleScans = false;
    unsigned width = 0;
    unsigned height = 0;
    int components = 0;
};

JpegHeader ReadJpegHeader(const std::vector<std::uint8_t>& jpeg)
{
    jpeg_decompress_struct decompressor{};
    jpeg_error_mgr errors{};
    decompressor.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&decompressor);
    jpeg_mem_src(&decompressor, const_cast<unsigned char*>(jpeg.data()), static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&decompressor, TRUE);

    JpegHeader header;
    header.progressive = decompressor.progressive_mode != 0;
    header.multipleScans = jpeg_has_multiple_scans(&decompressor) != 0;
    header.width = decompressor.image_width;
    header.height = decompressor.image_height;
    header.components = decompressor.num_components;
    jpeg_destroy_decompress(&decompressor);
    return header;
}

TEST(Background, IsAProgressive384By240ColourJpeg)
{
    const std::vector<std::uint8_t> jpeg =
        mozhou::assets::EncodeProgressiveJpeg(mozhou::assets::DrawBackground(), jpegQuality);

    const JpegHeader header = ReadJpegHeader(jpeg);
    EXPECT_TRUE(header.progressive);
    EXPECT_TRUE(header.multipleScans);
    EXPECT_EQ(header.width, backgroundWidth);
    EXPECT_EQ(header.height, backgroundHeight);
    EXPECT_EQ(header.components, rgbComponents);
}

TEST(Background, EncodesToTheSameBytesEveryTime)
{
    const auto first = mozhou::assets::EncodeProgressiveJpeg(mozhou::assets::DrawBackground(), jpegQuality);
    const auto second = mozhou::assets::EncodeProgressiveJpeg(mozhou::assets::DrawBackground(), jpegQuality);
    EXPECT_EQ(first, second);
}

} // namespace
