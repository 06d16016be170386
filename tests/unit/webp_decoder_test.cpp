#include <gtest/gtest.h>
#include <webp/encode.h>

#include <cstdlib>

#include "picture/decoders.h"

namespace {

TEST(DecodeWebp, GivesTheStoredPixelsAndRefusesCutFiles) {
    // 3 × 2 blue, green, red, alpha; lossless, so the pixels come back exactly.
    const std::vector<std::uint8_t> bgra{1,  2,  3,  255, 40, 50, 60, 128, 7,   8,   9,   1,
                                         90, 80, 70, 255, 0,  0,  0,  255, 255, 255, 255, 200};
    std::uint8_t* encoded = nullptr;
    const std::size_t size = WebPEncodeLosslessBGRA(bgra.data(), 3, 2, 12, &encoded);
    ASSERT_GT(size, 0u);
    const std::vector<std::uint8_t> file(encoded, encoded + size);
    WebPFree(encoded);

    ASSERT_EQ(picture::RecognizeKind(file), picture::Kind::Webp);
    const auto image = picture::DecodePicture(file, picture::Kind::Webp);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->format, picture::PixelFormat::Bgra32);
    EXPECT_EQ(image->width, 3);
    EXPECT_EQ(image->pixels, bgra);
    for (std::size_t n = 0; n < file.size(); ++n) {
        EXPECT_FALSE(picture::DecodeWebp(picture::Bytes(file).first(n))) << n << " bytes";
    }
}

}  // namespace
