#include <gtest/gtest.h>
#include <webp/encode.h>

#include "picture/decoders.h"

namespace {

TEST(DecodeWebp, GivesTheStoredPixelsAndRefusesCutFiles) {
    // 2 × 2 blue, green, red, alpha; lossless, so the pixels come back exactly.
    const std::vector<std::uint8_t> bgra{1, 2, 3, 255, 40, 50, 60, 128, 7, 8, 9, 1, 90, 80, 70, 255};
    std::uint8_t* encoded = nullptr;
    const std::size_t size = WebPEncodeLosslessBGRA(bgra.data(), 2, 2, 8, &encoded);
    const std::vector<std::uint8_t> file(encoded, encoded + size);
    WebPFree(encoded);
    const auto image = picture::DecodePicture(file, picture::RecognizeKind(file));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels, bgra);
    EXPECT_EQ(picture::RecognizeKind(picture::Bytes(file).first(11)), picture::Kind::None);
    for (std::size_t n = 0; n < file.size(); ++n) {
        EXPECT_FALSE(picture::DecodeWebp(picture::Bytes(file).first(n))) << n << " bytes";
    }
}

}  // namespace
