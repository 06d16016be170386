#include <gtest/gtest.h>

#include "picture/turn_and_crop.h"

namespace {

using picture::Image;
using picture::PixelFormat;

// A 3 × 2 picture of one-byte pixels numbered along the rows: 1 2 3 / 4 5 6.
Image Numbered() {
    Image image = *picture::AllocateImage(3, 2, PixelFormat::Indexed8);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) image.Row(y)[x] = static_cast<std::uint8_t>(1 + y * 3 + x);
    }
    return image;
}

std::vector<int> Pixels(const Image& image) {
    std::vector<int> pixels;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) pixels.push_back(image.Row(y)[x]);
    }
    return pixels;
}

TEST(TurnQuarters, TurnsClockwiseByQuarters) {
    const Image image = Numbered();
    const Image once = *picture::TurnQuarters(image, 1);
    EXPECT_EQ(once.width, 2);
    EXPECT_EQ(Pixels(once), (std::vector<int>{4, 1, 5, 2, 6, 3}));
    EXPECT_EQ(Pixels(*picture::TurnQuarters(image, 2)), (std::vector<int>{6, 5, 4, 3, 2, 1}));
    EXPECT_EQ(Pixels(*picture::TurnQuarters(image, -1)), (std::vector<int>{3, 6, 2, 5, 1, 4}));
    EXPECT_EQ(Pixels(*picture::TurnQuarters(image, 4)), Pixels(image));
}

TEST(TurnUpright, TurnsAndMirrorsSwappingTheResolutionsOnTheSide) {
    Image image = Numbered();
    image.dpiX = 100, image.dpiY = 200;
    EXPECT_TRUE(picture::TurnQuarters(image, 1)->dpiX == 200 && picture::TurnQuarters(image, 2)->dpiX == 100);
    EXPECT_EQ(picture::CropImage(image, 1, 0, 1, 1)->dpiY, 200);
    ASSERT_TRUE(picture::TurnUpright(image, 7));  // transverse
    EXPECT_EQ(Pixels(image), (std::vector<int>{6, 3, 5, 2, 4, 1}));
    EXPECT_EQ(image.dpiX, 200);
    Image bits = *picture::AllocateImage(10, 1, PixelFormat::Mono1);
    bits.Row(0)[0] = 0xC1;  // 11000001 00, mirrored 00100000 11
    ASSERT_TRUE(picture::TurnUpright(bits, 2));
    EXPECT_TRUE(bits.Row(0)[0] == 0x20 && bits.Row(0)[1] == 0xC0);
}

TEST(CropImage, KeepsThePartInsideThePicture) {
    EXPECT_EQ(Pixels(*picture::CropImage(Numbered(), 1, 0, 2, 2)), (std::vector<int>{2, 3, 5, 6}));
    EXPECT_EQ(Pixels(*picture::CropImage(Numbered(), 2, 1, 9, 9)), (std::vector<int>{6}));
    EXPECT_FALSE(picture::CropImage(Numbered(), 3, 0, 1, 1).has_value());
    // One bit a pixel: the part's first pixel moves to the byte's first bit.
    Image mono = *picture::AllocateImage(10, 1, PixelFormat::Mono1);
    mono.Row(0)[0] = 0b00100000;  // pixel 2
    mono.Row(0)[1] = 0b01000000;  // pixel 9
    const Image part = *picture::CropImage(mono, 2, 0, 8, 1);
    EXPECT_EQ(part.Row(0)[0], 0b10000001);
}

}  // namespace
