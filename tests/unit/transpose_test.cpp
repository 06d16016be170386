#include "picture/transpose.h"

#include <gtest/gtest.h>

namespace {

using picture::Image;
using picture::PixelFormat;

// Pixel by pixel; bit by bit, most significant leftmost, for one bit per pixel.
Image TurnedPlainly(const Image& from) {
    Image to = *picture::AllocateImage(from.height, from.width, from.format);
    const int bytes = from.format == PixelFormat::Bgr24 ? 3 : from.format == PixelFormat::Bgra32 ? 4 : 1;
    for (int y = 0; y < from.height; ++y) {
        for (int x = 0; x < from.width; ++x) {
            if (from.format == PixelFormat::Mono1) {
                const int bit = (from.Row(y)[x / 8] >> (7 - x % 8)) & 1;
                to.Row(x)[y / 8] |= static_cast<std::uint8_t>(bit << (7 - y % 8));
            } else {
                for (int i = 0; i < bytes; ++i) to.Row(x)[y * bytes + i] = from.Row(y)[x * bytes + i];
            }
        }
    }
    return to;
}

TEST(TransposeImage, PutsTheTopRightPixelBottomLeft) {
    Image image = *picture::AllocateImage(3, 2, PixelFormat::Bgr24);
    image.Row(0)[2 * 3] = 0xAB;
    const auto turned = picture::TransposeImage(image);
    ASSERT_TRUE(turned && turned->width == 2 && turned->height == 3);
    EXPECT_EQ(turned->Row(2)[0], 0xAB);
}

// Every byte, row padding included, is noise: the padding must not come through.
TEST(TransposeImage, TurnsLargeOddSizesOfEveryFormatAsAPlainLoopDoes) {
    for (PixelFormat format : {PixelFormat::Bgr24, PixelFormat::Bgra32, PixelFormat::Indexed8, PixelFormat::Mono1}) {
        SCOPED_TRACE(static_cast<int>(format));
        Image image = *picture::AllocateImage(1037, 523, format);
        std::uint32_t noise = 12345;
        for (auto& byte : image.pixels) byte = static_cast<std::uint8_t>((noise = noise * 1103515245 + 12345) >> 16);
        image.palette[1] = 0xFFFFFF;
        image.paletteSize = 2;
        image.transparentIndex = 1;
        const auto turned = picture::TransposeImage(image);
        ASSERT_TRUE(turned);
        EXPECT_TRUE(turned->pixels == TurnedPlainly(image).pixels);
        EXPECT_TRUE(turned->format == format && turned->palette == image.palette && turned->paletteSize == 2 &&
                    turned->transparentIndex == 1);
    }
}

}  // namespace
