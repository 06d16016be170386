#include <gtest/gtest.h>

#include "picture/shrink.h"

namespace {

using picture::Image;
using picture::PixelFormat;

TEST(ShrinkImage, EachNewPixelIsTheRoundedMeanOfTheBlockItCovers) {
    Image image = *picture::AllocateImage(4, 2, PixelFormat::Bgr24);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x) {
            for (int c = 0; c < 3; ++c) image.Row(y)[3 * x + c] = static_cast<std::uint8_t>(10 * (x + 4 * y) + c);
        }
    }
    const auto shrunk = picture::ShrinkImage(image, 2, 1);
    ASSERT_TRUE(shrunk);
    // Left block: pixels 0, 1, 4, 5 -> mean 25; right block: 2, 3, 6, 7 -> mean 45.
    EXPECT_EQ(shrunk->Row(0)[0], 25);
    EXPECT_EQ(shrunk->Row(0)[2], 27);
    EXPECT_EQ(shrunk->Row(0)[3], 45);
    EXPECT_FALSE(picture::ShrinkImage(image, 5, 1));  // never larger
    EXPECT_FALSE(picture::ShrinkImage(*picture::AllocateImage(4, 2, PixelFormat::Indexed8), 2, 1));
    // A block of more than 16.8 M white pixels, whose sums pass 32 bits.
    Image white = *picture::AllocateImage(4200, 4200, PixelFormat::Bgr24);
    white.pixels.assign(white.pixels.size(), 255);
    EXPECT_EQ(picture::ShrinkImage(white, 1, 1).value().Row(0)[0], 255);
}

}  // namespace
