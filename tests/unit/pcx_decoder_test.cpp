#include <gtest/gtest.h>

#include "picture/decoders.h"
#include "picture_samples.h"

namespace {

using picture::DecodePcx;
using samples::Rgb;

std::vector<Rgb> Greys() {
    std::vector<Rgb> palette;
    for (int i = 0; i < 256; ++i)
        palette.push_back({static_cast<std::uint8_t>(i), 0, static_cast<std::uint8_t>(255 - i)});
    return palette;
}

TEST(DecodePcx, ReadsEightBitsWithRunsAcrossLineEnds) {
    // 5 wide in lines of 6; each line ends and the next starts with the same value, so that the
    // encoder's runs cross line ends. 0xC5 must be stored as a run of one.
    const int w = 5, h = 3, bytesPerLine = 6;
    const samples::Bytes lines{7,   1,   2, 0xC5, 9,   9,    //
                               9,   9,   9, 4,    200, 200,  //
                               200, 200, 0, 0,    0,   0};
    const auto image = DecodePcx(samples::Pcx(w, h, 8, bytesPerLine, lines, Greys()));
    ASSERT_TRUE(image);
    ASSERT_EQ(image->format, picture::PixelFormat::Indexed8);
    ASSERT_EQ(image->width, w);
    ASSERT_EQ(image->height, h);
    EXPECT_EQ(image->paletteSize, 256);
    EXPECT_EQ(image->palette[200], 0xC80037u);  // red 200, green 0, blue 55
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            EXPECT_EQ(image->Row(y)[x], lines[y * bytesPerLine + x]) << x << "," << y;
}

TEST(DecodePcx, ReadsOneBitWithTheHeaderColours) {
    // 10 wide: two bytes of each line used, the last six bits past the edge.
    const samples::Bytes lines{0xA5, 0xFF, 0x00, 0x00, 0x0F, 0x40, 0xFF, 0xFF};
    const auto image =
        DecodePcx(samples::Pcx(10, 2, 1, 4, lines, {{10, 20, 30}, {200, 210, 220}}, 3));
    ASSERT_TRUE(image);
    ASSERT_EQ(image->format, picture::PixelFormat::Mono1);
    EXPECT_EQ(image->paletteSize, 2);
    EXPECT_EQ(image->palette[0], 0x0A141Eu);
    EXPECT_EQ(image->palette[1], 0xC8D2DCu);
    EXPECT_EQ(image->Row(0)[0], 0xA5);
    EXPECT_EQ(image->Row(0)[1], 0xC0);  // bits past the edge cleared
    EXPECT_EQ(image->Row(1)[0], 0x0F);
    EXPECT_EQ(image->Row(1)[1], 0x40);
}

TEST(DecodePcx, MakesBlackOnWhiteOfAnAllBlackHeaderPalette) {
    const auto image = DecodePcx(samples::Pcx(8, 1, 1, 2, {0x0F, 0}, {}, 3));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->palette[0], 0u);
    EXPECT_EQ(image->palette[1], 0xFFFFFFu);
}

TEST(DecodePcx, RefusesTruncatedAndLyingFiles) {
    const samples::Bytes lines{1, 2, 3, 4, 5, 6, 7, 8};
    const auto good = samples::Pcx(4, 2, 8, 4, lines, Greys());
    const auto mono = samples::Pcx(16, 2, 1, 2, {1, 2, 3, 4}, {}, 3);
    ASSERT_TRUE(DecodePcx(good));
    ASSERT_TRUE(DecodePcx(mono));
    // Cut among the runs or in the palette: shown as far as they go (without the palette, in
    // greys). Ending right after its runs, a file cannot be told from one without a palette.
    for (const auto& file : {good, mono}) {
        for (std::size_t n = 0; n < file.size(); ++n) {
            const auto image = DecodePcx(picture::Bytes(file).first(n));
            EXPECT_EQ(picture::StateOf(image), n <= 128 || n == 128 + lines.size()
                                                   ? picture::PictureState::Undecodable
                                                   : picture::PictureState::Incomplete)
                << n << " bytes";
        }
    }
    EXPECT_EQ(DecodePcx(picture::Bytes(good).first(128 + 5))->palette[7], 0x070707u);
    auto changed = [&](std::size_t at, std::uint8_t value) {
        auto file = good;
        file[at] = value;
        return DecodePcx(file);
    };
    EXPECT_FALSE(changed(good.size() - 769, 0x0B));  // no palette marker
    EXPECT_FALSE(changed(66, 3));                    // lines shorter than the width
    EXPECT_FALSE(changed(65, 3));                    // three planes
    EXPECT_FALSE(changed(3, 4));
    EXPECT_FALSE(changed(2, 0));
    EXPECT_FALSE(changed(0, 0x0B));
    EXPECT_FALSE(changed(4, 10));  // xmin past xmax

    auto huge = good;
    huge[8] = 0x5F, huge[9] = 0xEA, huge[10] = 0x5F, huge[11] = 0xEA;  // 60000 × 60000
    huge[66] = 0x60, huge[67] = 0xEA;
    EXPECT_FALSE(DecodePcx(huge));
}

}  // namespace
