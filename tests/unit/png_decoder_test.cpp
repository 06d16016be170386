#include <cstdint>
#include <cstring>
#include <vector>

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include "picture/decoders.h"
#include "picture_samples.h"

namespace picture {
namespace {

using ByteVector = std::vector<std::uint8_t>;

// Writes pixels in the given simplified-interface format with libpng into memory.
ByteVector Encode(const void* pixels, int width, int height, png_uint_32 format,
                  const void* colormap = nullptr, int colormapEntries = 0) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = format;
    image.colormap_entries = static_cast<png_uint_32>(colormapEntries);
    png_alloc_size_t size = 0;
    EXPECT_TRUE(png_image_write_to_memory(&image, nullptr, &size, 0, pixels, 0, colormap));
    ByteVector bytes(size);
    EXPECT_TRUE(png_image_write_to_memory(&image, bytes.data(), &size, 0, pixels, 0, colormap));
    bytes.resize(size);
    return bytes;
}

std::uint32_t ReadBigEndian(const ByteVector& bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at]) << 24 | static_cast<std::uint32_t>(bytes[at + 1]) << 16 |
           static_cast<std::uint32_t>(bytes[at + 2]) << 8 | bytes[at + 3];
}

void WriteBigEndian(ByteVector& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
}

// The offset of a chunk's length field, or bytes.size().
std::size_t FindChunk(const ByteVector& bytes, const char* type) {
    for (std::size_t at = 8; at + 12 <= bytes.size(); at += 12 + ReadBigEndian(bytes, at)) {
        if (std::memcmp(&bytes[at + 4], type, 4) == 0) return at;
    }
    return bytes.size();
}

void FixCrc(ByteVector& bytes, std::size_t chunk) {
    const std::uint32_t length = ReadBigEndian(bytes, chunk);
    const uLong crc = crc32(0, &bytes[chunk + 4], 4 + length);
    WriteBigEndian(bytes, chunk + 8 + length, static_cast<std::uint32_t>(crc));
}

ByteVector WithHeaderSize(ByteVector bytes, std::uint32_t width, std::uint32_t height) {
    const std::size_t header = FindChunk(bytes, "IHDR");
    WriteBigEndian(bytes, header + 8, width);
    WriteBigEndian(bytes, header + 12, height);
    FixCrc(bytes, header);
    return bytes;
}

ByteVector WithChunkBeforeData(ByteVector bytes, const char* type, const ByteVector& data) {
    ByteVector chunk(12 + data.size());
    WriteBigEndian(chunk, 0, static_cast<std::uint32_t>(data.size()));
    std::memcpy(&chunk[4], type, 4);
    std::copy(data.begin(), data.end(), chunk.begin() + 8);
    FixCrc(chunk, 0);
    bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(FindChunk(bytes, "IDAT")), chunk.begin(), chunk.end());
    return bytes;
}

struct Bgra {
    std::uint8_t blue, green, red, alpha;
    bool operator==(const Bgra&) const = default;
};

Bgra PixelAt(const Image& image, int x, int y) {
    const std::uint8_t* p = image.Row(y) + static_cast<std::size_t>(x) * 4;
    return {p[0], p[1], p[2], p[3]};
}

// Colours and transparency changing across the picture.
ByteVector RgbaPattern(int width, int height) {
    ByteVector pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            pixels.insert(pixels.end(), {static_cast<std::uint8_t>(x * 9), static_cast<std::uint8_t>(y * 11),
                                         static_cast<std::uint8_t>(x * y), static_cast<std::uint8_t>(255 - x - y)});
        }
    }
    return pixels;
}

// The file with a chunk put right after the header chunk.
ByteVector WithChunk(ByteVector bytes, const char* type, const ByteVector& data) {
    ByteVector chunk = {0, 0, 0, static_cast<std::uint8_t>(data.size())};  // under 256 bytes
    chunk.insert(chunk.end(), type, type + 4);
    chunk.insert(chunk.end(), data.begin(), data.end());
    chunk.resize(chunk.size() + 4);
    bytes.insert(bytes.begin() + 33, chunk.begin(), chunk.end());
    FixCrc(bytes, 33);
    return bytes;
}

TEST(PngDecoder, RgbaComesOutAsBlueGreenRedAlphaUnchanged) {
    const int width = 7, height = 5;
    const ByteVector rgba = RgbaPattern(width, height);
    const auto image = DecodePng(Encode(rgba.data(), width, height, PNG_FORMAT_RGBA));
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->format, PixelFormat::Bgra32);
    EXPECT_EQ(image->width, width);
    EXPECT_EQ(image->height, height);
    ASSERT_EQ(image->pixels.size(), static_cast<std::size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = &rgba[(static_cast<std::size_t>(y) * width + x) * 4];
            EXPECT_EQ(PixelAt(*image, x, y), (Bgra{p[2], p[1], p[0], p[3]})) << x << "," << y;
        }
    }
}

TEST(PngDecoder, OpaqueFormatsGetFullAlpha) {
    const std::uint8_t rgb[] = {10, 20, 30, 40, 50, 60};
    auto image = DecodePng(Encode(rgb, 2, 1, PNG_FORMAT_RGB));
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(PixelAt(*image, 0, 0), (Bgra{30, 20, 10, 255}));
    EXPECT_EQ(PixelAt(*image, 1, 0), (Bgra{60, 50, 40, 255}));

    const std::uint8_t grey[] = {0, 77, 255};
    image = DecodePng(Encode(grey, 3, 1, PNG_FORMAT_GRAY));
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(PixelAt(*image, 1, 0), (Bgra{77, 77, 77, 255}));
    EXPECT_EQ(PixelAt(*image, 2, 0), (Bgra{255, 255, 255, 255}));
}

TEST(PngDecoder, GreyWithAlphaKeepsBoth) {
    const std::uint8_t greyAlpha[] = {100, 0, 100, 128, 200, 255};
    const auto image = DecodePng(Encode(greyAlpha, 3, 1, PNG_FORMAT_GA));
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(PixelAt(*image, 0, 0).alpha, 0);
    EXPECT_EQ(PixelAt(*image, 1, 0), (Bgra{100, 100, 100, 128}));
    EXPECT_EQ(PixelAt(*image, 2, 0), (Bgra{200, 200, 200, 255}));
}

TEST(PngDecoder, PaletteEntriesAndTheirTransparencyAreLookedUp) {
    const std::uint8_t colormap[] = {255, 0, 0, 255, 0, 255, 0, 128, 0, 0, 255, 0};  // RGBA entries
    const std::uint8_t indices[] = {0, 1, 2, 1};
    const auto image = DecodePng(Encode(indices, 2, 2, PNG_FORMAT_RGBA_COLORMAP, colormap, 3));
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(PixelAt(*image, 0, 0), (Bgra{0, 0, 255, 255}));
    EXPECT_EQ(PixelAt(*image, 1, 0), (Bgra{0, 255, 0, 128}));
    EXPECT_EQ(PixelAt(*image, 0, 1).alpha, 0);
    EXPECT_EQ(PixelAt(*image, 1, 1), (Bgra{0, 255, 0, 128}));
}

TEST(PngDecoder, SixteenBitLinearLightIsConvertedToSrgb) {
    // libpng writes linear 16-bit grey with a gAMA of 1.0 and converts it back with the power
    // law it takes for sRGB (2.2): half the light is 255 × 0.5^(1/2.2) = 186.
    const std::uint16_t linear[] = {0, 32768, 65535};
    const auto image = DecodePng(Encode(linear, 3, 1, PNG_FORMAT_LINEAR_Y));
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(PixelAt(*image, 0, 0), (Bgra{0, 0, 0, 255}));
    const Bgra middle = PixelAt(*image, 1, 0);
    EXPECT_EQ(middle.red, 186);
    EXPECT_EQ(middle.red, middle.blue);
    EXPECT_EQ(PixelAt(*image, 2, 0), (Bgra{255, 255, 255, 255}));
}

TEST(PngDecoder, RefusesWhatIsTooShortOrNoPng) {
    const std::uint8_t rgb[] = {1, 2, 3};
    const ByteVector bytes = Encode(rgb, 1, 1, PNG_FORMAT_RGB);
    for (const std::size_t length : {std::size_t{0}, std::size_t{7}, std::size_t{8}, std::size_t{20}}) {
        EXPECT_FALSE(DecodePng(Bytes(bytes.data(), length)).has_value()) << length;
    }
    ByteVector notPng = bytes;
    notPng[1] = 'Q';
    EXPECT_FALSE(DecodePng(notPng).has_value());
    EXPECT_TRUE(DecodePng(bytes).has_value());
}

TEST(PngDecoder, RefusesDataThatEndsBeforeTheImageDataAndKeepsTheRowsOfACutOne) {
    const ByteVector rgba = RgbaPattern(40, 40);
    const ByteVector bytes = Encode(rgba.data(), 40, 40, PNG_FORMAT_RGBA);
    const std::size_t data = FindChunk(bytes, "IDAT");
    ASSERT_LT(data, bytes.size());
    EXPECT_FALSE(DecodePng(Bytes(bytes).first(data)).has_value());
    for (const std::size_t length : {data + 30, bytes.size() / 2, bytes.size() - 20}) {
        const auto image = DecodePng(Bytes(bytes).first(length));
        ASSERT_TRUE(image.has_value()) << length;
        EXPECT_FALSE(image->complete);
        if (length < bytes.size() - 20) EXPECT_EQ(PixelAt(*image, 39, 39), (Bgra{0, 0, 0, 0}));
    }
    EXPECT_EQ(PixelAt(*DecodePng(Bytes(bytes).first(bytes.size() / 2)), 1, 1), (Bgra{1, 11, 9, 253}));
    // Only the end chunk missing: every pixel is there.
    const ByteVector noEnd(bytes.begin(), bytes.end() - 12);
    EXPECT_TRUE(DecodePng(noEnd)->complete);
}

TEST(PngDecoder, RefusesDamagedChunks) {
    const ByteVector rgba = RgbaPattern(16, 16);
    const ByteVector bytes = Encode(rgba.data(), 16, 16, PNG_FORMAT_RGBA);
    ByteVector badCrc = bytes;
    badCrc[FindChunk(bytes, "IHDR") + 10] ^= 0x40;  // the width, without a new CRC
    EXPECT_FALSE(DecodePng(badCrc).has_value());

    // Compressed data that is no valid zlib stream, with a correct CRC.
    ByteVector badData = bytes;
    const std::size_t data = FindChunk(badData, "IDAT");
    for (std::size_t i = 0; i < ReadBigEndian(badData, data); ++i) badData[data + 8 + i] = 0xA5;
    FixCrc(badData, data);
    EXPECT_FALSE(DecodePng(badData).has_value());
}

TEST(PngDecoder, RefusesSizesThatCannotBeHeldBeforeAllocating) {
    const std::uint8_t rgb[] = {1, 2, 3};
    const ByteVector bytes = Encode(rgb, 1, 1, PNG_FORMAT_RGB);
    EXPECT_FALSE(DecodePng(WithHeaderSize(bytes, 60000, 60000)).has_value());
    EXPECT_FALSE(DecodePng(WithHeaderSize(bytes, 70000, 1)).has_value());
    EXPECT_FALSE(DecodePng(WithHeaderSize(bytes, 65535, 1025)).has_value());
    EXPECT_FALSE(DecodePng(WithHeaderSize(bytes, 0, 1)).has_value());
    // Within the limits, but the data holds one pixel.
    EXPECT_FALSE(DecodePng(WithHeaderSize(bytes, 300, 200)).has_value());
}

TEST(PngDecoder, RefusesAChunkLongerThanTheFileBeforeAllocatingIt) {
    const std::uint8_t rgb[] = {1, 2, 3};
    ByteVector bytes = WithChunkBeforeData(Encode(rgb, 1, 1, PNG_FORMAT_RGB), "tEXt", {'a', 0, 'b'});
    WriteBigEndian(bytes, FindChunk(bytes, "tEXt"), 1u << 30);
    std::optional<Image> image;
    const long long peak = samples::PeakHeapGrowth([&] { image = DecodePng(bytes); });
    if (peak < 0) GTEST_SKIP() << "allocations are counted under AddressSanitizer only";
    EXPECT_FALSE(image.has_value());
    EXPECT_LT(peak, 1 << 20);
}

TEST(PngDecoder, RefusesTextsThatInflateToMoreThanEightMegabytesInAll) {
    const ByteVector text(5'000'000, 'a');
    ByteVector zText{'k', 0, 0};  // the keyword, the method
    zText.resize(3 + compressBound(text.size()));
    uLongf size = zText.size() - 3;
    ASSERT_EQ(compress(&zText[3], &size, text.data(), text.size()), Z_OK);
    zText.resize(3 + size);
    const std::uint8_t rgb[] = {1, 2, 3};
    const ByteVector once = WithChunkBeforeData(Encode(rgb, 1, 1, PNG_FORMAT_RGB), "zTXt", zText);
    EXPECT_TRUE(DecodePng(once).has_value());
    EXPECT_FALSE(DecodePng(WithChunkBeforeData(once, "zTXt", zText)).has_value());
}

// Files for the picture fuzzer to start from (<build>/fuzz-seeds): colour with alpha, and a
// palette with transparency.
TEST(PngSeeds, AreWritten) {
    const ByteVector rgba = RgbaPattern(9, 7);
    const std::uint8_t indices[] = {0, 1, 2, 1}, colours[] = {9, 9, 9, 0, 200, 0, 0, 255, 40, 40, 40, 128};
    EXPECT_TRUE(samples::WriteSeed("fuzz-seeds", "sample.png", Encode(rgba.data(), 9, 7, PNG_FORMAT_RGBA)));
    EXPECT_TRUE(samples::WriteSeed("fuzz-seeds", "palette.png",
                                   Encode(indices, 2, 2, PNG_FORMAT_RGBA_COLORMAP, colours, 3)));
}

TEST(PngDecoder, TurnsByTheExifChunkAndTakesTheResolutionFromPhysElseExif) {
    const std::uint8_t redGreen[] = {255, 0, 0, 255, 0, 255, 0, 255};
    const auto block = samples::Exif({{0x0112, 3, 8}, {0x011A, 5, 96}});
    const ByteVector exif(block.begin() + 6, block.end());  // without "Exif", as PNG has it
    const auto image = DecodePng(WithChunk(Encode(redGreen, 2, 1, PNG_FORMAT_RGBA), "eXIf", exif));
    ASSERT_TRUE(image && image->width == 1);
    EXPECT_TRUE(image->Row(0)[1] == 255 && image->Row(1)[2] == 255);  // green, stored right, on top
    EXPECT_EQ(image->dpiY, 96);
    const ByteVector large(1200 * 900 * 4, 0x80);
    const ByteVector phys = {0, 0, 0x2E, 0x23, 0, 0, 0x2E, 0x23, 1};  // 11811 per metre
    const auto bytes = WithChunk(Encode(large.data(), 1200, 900, PNG_FORMAT_RGBA), "pHYs", phys);
    const auto info = ReadPictureInfo(bytes);
    ASSERT_TRUE(info && info->width == 1200);
    EXPECT_NEAR(info->dpiX, 300, 0.01);
    EXPECT_NEAR(info->dpiY, 300, 0.01);
    EXPECT_EQ(DecodePng(bytes)->dpiX, info->dpiX);
}

}  // namespace
}  // namespace picture
