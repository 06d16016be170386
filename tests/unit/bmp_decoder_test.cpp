#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "picture/decoders.h"
#include "picture_samples.h"

namespace {

using picture::DecodeBmp;
using picture::Image;
using samples::Rgb;

std::uint32_t ColourAt(const Image& image, int x, int y) {
    const std::uint8_t* p = image.Row(y) + 3 * x;
    return p[0] | (p[1] << 8) | (p[2] << 16);
}

std::uint32_t Packed(const Rgb& c) { return c[2] | (c[1] << 8) | (c[0] << 16); }

std::vector<Rgb> Palette(int entries) {
    std::vector<Rgb> palette;
    for (int i = 0; i < entries; ++i) {
        palette.push_back({static_cast<std::uint8_t>(i * 7 + 1), static_cast<std::uint8_t>(255 - i),
                           static_cast<std::uint8_t>(i * 3)});
    }
    return palette;
}

// Odd widths so that rows need padding and sub-byte pixels end mid-byte.
constexpr int width = 13;
constexpr int height = 5;

std::uint32_t TestPixel(int bitCount, int x, int y) {
    if (bitCount <= 8) return static_cast<std::uint32_t>(x * 3 + y * 5) % (1u << bitCount);
    return static_cast<std::uint32_t>(x * 0x102030 + y * 0x0F0001) & 0xFFFFFF;
}

class BmpDepths : public testing::TestWithParam<std::tuple<int, bool>> {};

TEST_P(BmpDepths, DecodeToTheWrittenColoursTopRowFirst) {
    const auto [bitCount, topDown] = GetParam();
    const auto palette = bitCount <= 8 ? Palette(1 << bitCount) : std::vector<Rgb>{};
    const auto file = samples::Bmp(
        width, height, bitCount, palette, [&](int x, int y) { return TestPixel(bitCount, x, y); },
        topDown);
    const auto image = DecodeBmp(file);
    ASSERT_TRUE(image);
    ASSERT_EQ(image->format, picture::PixelFormat::Bgr24);
    ASSERT_EQ(image->width, width);
    ASSERT_EQ(image->height, height);
    ASSERT_EQ(image->pixels.size(), height * 40u);  // 39 bytes a row padded to 40
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t v = TestPixel(bitCount, x, y);
            ASSERT_EQ(ColourAt(*image, x, y), bitCount <= 8 ? Packed(palette[v]) : v)
                << "x " << x << " y " << y;
        }
        EXPECT_EQ(image->Row(y)[39], 0) << "padding of row " << y;
    }
}

INSTANTIATE_TEST_SUITE_P(AllDepths, BmpDepths,
                         testing::Combine(testing::Values(1, 4, 8, 24, 32), testing::Bool()));

TEST(DecodeBmp, ReadsLaterHeadersAndSkipsToThePixelOffset) {
    auto file = samples::Bmp(
        2, 2, 24, {}, [](int x, int y) { return x + 2u * y + 1; }, false, 124);
    EXPECT_EQ(ColourAt(*DecodeBmp(file), 1, 1), 4u);

    // Eight stray bytes between palette and pixels.
    file = samples::Bmp(2, 1, 8, Palette(2), [](int x, int) { return std::uint32_t(x); });
    file.insert(file.begin() + 14 + 40 + 8, 8, 0xEE);
    samples::Set32(file, 10, 14 + 40 + 8 + 8);
    const auto image = DecodeBmp(file);
    ASSERT_TRUE(image);
    EXPECT_EQ(ColourAt(*image, 1, 0), Packed(Palette(2)[1]));
}

TEST(DecodeBmp, ShowsIndicesPastAShortPaletteAsBlack) {
    const auto file = samples::Bmp(3, 1, 8, Palette(2), [](int x, int) { return x * 100u; });
    const auto image = DecodeBmp(file);
    ASSERT_TRUE(image);
    EXPECT_EQ(ColourAt(*image, 0, 0), Packed(Palette(2)[0]));
    EXPECT_EQ(ColourAt(*image, 1, 0), 0u);
    EXPECT_EQ(ColourAt(*image, 2, 0), 0u);
}

TEST(DecodeBmp, RefusesEveryFileThatEndsBeforeItsPixelsAndShowsOneCutAmongThemAsFarAsItGoes) {
    const auto file = samples::Bmp(5, 3, 8, Palette(4), [](int x, int y) { return (x + y) % 4u; });
    const std::size_t lastRowPadding = 3, pixels = 14 + 40 + 4 * 4;  // 5 bytes a row stored as 8
    ASSERT_TRUE(DecodeBmp(picture::Bytes(file).first(file.size() - lastRowPadding))->complete);
    for (std::size_t n = 0; n < file.size() - lastRowPadding; ++n) {
        EXPECT_EQ(picture::StateOf(DecodeBmp(picture::Bytes(file).first(n))),
                  n < pixels ? picture::PictureState::Undecodable : picture::PictureState::Incomplete)
            << n << " bytes";
    }
    const auto bottomRowOnly = DecodeBmp(picture::Bytes(file).first(pixels + 8));
    EXPECT_EQ(ColourAt(*bottomRowOnly, 1, 2), Packed(Palette(4)[3]));
    EXPECT_EQ(ColourAt(*bottomRowOnly, 1, 1), 0u);
}

TEST(DecodeBmp, RefusesLyingHeaders) {
    const auto good = samples::Bmp(4, 4, 8, Palette(4), [](int, int) { return 1u; });
    ASSERT_TRUE(DecodeBmp(good));
    auto changed = [&](std::size_t at, std::uint32_t value, int size = 4) {
        auto file = good;
        for (int i = 0; i < size; ++i) file[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
        return DecodeBmp(file);
    };
    EXPECT_FALSE(changed(22, 0));
    EXPECT_FALSE(changed(18, 0x80000000u));          // the most negative width
    EXPECT_FALSE(changed(46, 257));                  // more colours than 8 bits index
    EXPECT_FALSE(changed(46, 200));                  // a palette running into the pixels' end
    EXPECT_FALSE(changed(10, 14 + 40 + 4 * 4 - 1));  // pixels inside the palette
    EXPECT_FALSE(changed(10, 0xFFFFFFF0u));          // pixels past the end
    EXPECT_FALSE(changed(14, 12));                   // OS/2 header size
    EXPECT_FALSE(changed(14, 0xFFFFFFFFu));          // header past the end
    EXPECT_FALSE(changed(30, 1));                    // these pixels as runs end early
    EXPECT_FALSE(changed(28, 16, 2)->complete);  // as a file cut short
    EXPECT_FALSE(changed(0, 'X', 1));
}

TEST(DecodeBmp, RefusesAHugeSizeWithoutData) {
    auto file = samples::Bmp(1, 1, 24, {}, [](int, int) { return 0u; });
    samples::Set32(file, 18, 60000);
    samples::Set32(file, 22, static_cast<std::uint32_t>(-60000));
    EXPECT_FALSE(DecodeBmp(file));
    samples::Set32(file, 18, 8000);  // 64 million pixels are allowed, but the data is not there
    samples::Set32(file, 22, 8000);
    EXPECT_FALSE(DecodeBmp(file));
}

// Every pixel's colour, top row first; none for a refused file.
std::vector<std::uint32_t> Colours(const samples::Bytes& file) {
    const auto image = DecodeBmp(file);
    std::vector<std::uint32_t> found;
    for (int y = 0; image && y < image->height; ++y) {
        for (int x = 0; x < image->width; ++x) found.push_back(ColourAt(*image, x, y));
    }
    return found;
}

samples::Bytes Plain(int width, const std::vector<std::uint32_t>& indices) {  // top row first
    const int height = static_cast<int>(indices.size()) / width;
    return samples::Bmp(width, height, 8, Palette(256), [&](int x, int y) { return indices[y * width + x]; });
}

samples::Bytes RunsBmp(int width, int height, int bits, const samples::Bytes& runs) {
    auto file = samples::Bmp(width, height, bits, Palette(1 << bits), [](int, int) { return 0u; });
    file.resize(14 + 40 + (4u << bits));
    file.insert(file.end(), runs.begin(), runs.end());
    samples::Set32(file, 30, bits == 8 ? 1 : 2);
    return file;
}

TEST(DecodeBmp, ReadsRunsEscapesAndMovesKeepingInsideThePicture) {
    // Bottom row first: a run, a move right and up, a pixel, an early end of line, 3 pixels one
    // by one (padded), a run past the right edge, a move past the last row, which ends the
    // picture, and bytes after it.
    const auto rle8 = RunsBmp(4, 3, 8, {2, 5, 0, 2, 1, 1, 1, 4, 0, 0, 0, 3, 1, 2, 3, 0,
                                        6, 7, 0, 2, 0, 9, 9, 9});
    EXPECT_EQ(Colours(rle8), Colours(Plain(4, {1, 2, 3, 7, 0, 0, 0, 4, 5, 5, 0, 0})));
    EXPECT_EQ(Colours(RunsBmp(5, 2, 4, {5, 0x12, 0, 0, 0, 3, 0x34, 0x50, 4, 0x67, 0, 1})),
              Colours(Plain(5, {3, 4, 5, 6, 7, 1, 2, 1, 2, 1})));

    for (std::size_t n = 0; n < rle8.size() - 2; ++n) {
        EXPECT_FALSE(DecodeBmp(picture::Bytes(rle8).first(n))) << n << " bytes";
    }
    // A huge picture whose runs end early is refused before its memory is taken.
    auto changed = RunsBmp(1, 1, 8, {0, 0, 0, 0});
    samples::Set32(changed, 18, 8000);
    samples::Set32(changed, 22, 8000);
    EXPECT_LT(samples::PeakHeapGrowth([&] { EXPECT_FALSE(DecodeBmp(changed)); }), 1 << 20);
}

// One row of 16- or 32-bit pixels, the three masks after the 40-byte header.
samples::Bytes MaskedBmp(int bits, std::uint32_t compression, std::array<std::uint32_t, 3> masks,
                         const std::vector<std::uint32_t>& pixels) {
    auto file = samples::Bmp(static_cast<int>(pixels.size()), 1, 24, {}, [](int, int) { return 0u; });
    file.resize(14 + 40);
    file[28] = static_cast<std::uint8_t>(bits);
    samples::Set32(file, 30, compression);
    samples::Set32(file, 10, 14 + 40 + 12);
    for (const std::uint32_t v : masks) samples::Put32(file, v);
    for (const std::uint32_t v : pixels) bits == 16 ? samples::Put16(file, v) : samples::Put32(file, v);
    return file;
}

TEST(DecodeBmp, ReadsSixteenAndThirtyTwoBitsThroughTheirMasks) {
    using V = std::vector<std::uint32_t>;
    // Without masks 16 bits are 5-5-5 (the bytes after the header are not read as masks).
    EXPECT_EQ(Colours(MaskedBmp(16, 0, {0xF800, 0x07E0, 0x001F}, {0x7FFF, 0x0400, 0x8000})),
              (V{0xFFFFFF, 0x080000, 0}));
    EXPECT_EQ(Colours(MaskedBmp(32, 3, {0x3FF00000, 0xFF, 0}, {0x3FF00012})), V{0xFF1200});
    EXPECT_EQ(Colours(MaskedBmp(32, 3, {0xF0F, 0xF0, 0}, {0})), V{});  // gaps in a mask
}

}  // namespace
