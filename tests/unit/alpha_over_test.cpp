#include "picture/alpha_over.h"

#include <gtest/gtest.h>

namespace {

using picture::CompositeOver;
using picture::OverBackground;

TEST(OverBackground, OpaqueChannelsStayAsTheyAre) {
    EXPECT_EQ(OverBackground(0, 255, 255), 0);
    EXPECT_EQ(OverBackground(77, 255, 0), 77);
    EXPECT_EQ(OverBackground(255, 255, 0), 255);
}

TEST(OverBackground, TransparentChannelsBecomeTheBackground) {
    EXPECT_EQ(OverBackground(0, 0, 255), 255);
    EXPECT_EQ(OverBackground(200, 0, 40), 40);
}

TEST(OverBackground, TruncatesWithTheProgramsOneOver255) {
    // 255 × (1 − 128 × 0.003921569) = 126.99998…, where an exact 1/255 would give 127.
    EXPECT_EQ(OverBackground(0, 128, 255), 126);
    // 128 × 0.003921569 × 255 + 255 × (1 − …) = 255.00000…
    EXPECT_EQ(OverBackground(255, 128, 255), 255);
    // 1 × k × 100 + 0 = 0.39…
    EXPECT_EQ(OverBackground(100, 1, 0), 0);
    // 254 × k × 10 + 200 × (1 − 254 k) = 9.9608… + 0.7843… = 10.745…
    EXPECT_EQ(OverBackground(10, 254, 200), 10);
}

TEST(CompositeOver, LaysEveryPixelOverTheBackgroundColour) {
    auto image = picture::AllocateImage(3, 2, picture::PixelFormat::Bgra32);
    ASSERT_TRUE(image);
    const std::uint8_t pixels[] = {
        10,  20,  30,  255,  // blue, green, red, alpha
        0,   0,   255, 0,
        0,   255, 0,   128,
        1,   2,   3,   0,
        50,  60,  70,  255,
        255, 255, 255, 64,
    };
    std::copy(std::begin(pixels), std::end(pixels), image->pixels.begin());
    const std::uint32_t blue = 0x00FF0000;  // 0x00BBGGRR
    const auto out = CompositeOver(*image, blue);
    ASSERT_EQ(out.size(), 24u);
    const std::uint8_t halfBlue = OverBackground(0, 128, 255);
    const std::uint8_t halfGreen = OverBackground(255, 128, 0);
    const std::uint8_t quarterWhite = OverBackground(255, 64, 0);
    const std::uint8_t expected[] = {
        10,       20,           30,           255,
        255,      0,            0,            255,  // alpha 0: the background
        halfBlue, halfGreen,    0,            255,
        255,      0,            0,            255,
        50,       60,           70,           255,
        255,      quarterWhite, quarterWhite, 255,
    };
    EXPECT_TRUE(std::equal(out.begin(), out.end(), std::begin(expected)));
}

TEST(CompositeOver, RefusesOtherFormatsAndShortBuffers) {
    auto image = picture::AllocateImage(2, 2, picture::PixelFormat::Bgr24);
    ASSERT_TRUE(image);
    EXPECT_TRUE(CompositeOver(*image, 0).empty());
    auto bgra = picture::AllocateImage(2, 2, picture::PixelFormat::Bgra32);
    ASSERT_TRUE(bgra);
    bgra->pixels.resize(15);
    EXPECT_TRUE(CompositeOver(*bgra, 0).empty());
    EXPECT_TRUE(CompositeOver(picture::Image{}, 0).empty());
}

}  // namespace
