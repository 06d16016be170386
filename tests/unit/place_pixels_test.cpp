#include <algorithm>
#include <cstdlib>
#include <cstdint>

#include <gtest/gtest.h>

#include "jpeg_encoder.h"
#include "picture/decoders.h"
#include "picture/place_pixels.h"
#include "picture/shrink.h"
#include "picture/turn_and_crop.h"
#include "picture_samples.h"

namespace picture {
namespace {

// Red growing rightwards and green downwards.
samples::Bytes GradientJpeg(int width, int height) {
    mozhou::assets::RgbImage image{width, height, {}};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.samples.insert(image.samples.end(), {static_cast<std::uint8_t>(x * 255 / width),
                                                       static_cast<std::uint8_t>(y * 255 / height), 128});
        }
    }
    return mozhou::assets::EncodeProgressiveJpeg(image, 90);
}

TEST(PixelsForPlace, DecodesAJpegScaledDownThenCutsAndTurnsItAsTheWholePictureWouldBe) {
    const samples::Bytes large = GradientJpeg(1600, 1200);
    std::optional<Image> placed;
    const long long peak = samples::PeakHeapGrowth(
        [&] { placed = PixelsForPlace(large, Kind::Jpeg, 1600, 1200, 0, {}, 200, 150); });
    ASSERT_TRUE(placed);
    EXPECT_EQ(placed->width, 200);
    EXPECT_EQ(placed->height, 150);
    if (peak >= 0) EXPECT_LT(peak, 1600 * 1200 * 3 / 8);  // the full picture is never held

    const samples::Bytes file = GradientJpeg(640, 480);
    const auto whole = DecodeJpeg(file);
    ASSERT_TRUE(whole);
    const device::PixelRect crop{100, 80, 240, 320};
    for (int turns = 0; turns < 4; ++turns) {
        const auto part = CropImage(*TurnQuarters(*whole, turns), 100, 80, 240, 320);
        const auto expected = ShrinkImage(*part, 60, 80);
        placed = PixelsForPlace(file, Kind::Jpeg, 640, 480, turns, crop, 60, 80);
        ASSERT_TRUE(expected && placed);
        ASSERT_EQ(placed->width, 60);
        ASSERT_EQ(placed->height, 80);
        EXPECT_EQ(PlacedSizeFor(Kind::Jpeg, 640, 480, turns, crop, 60, 80).height, 80);
        int worst = 0;
        for (std::size_t i = 0; i < placed->pixels.size(); ++i) {
            worst = std::max(worst, std::abs(placed->pixels[i] - expected->pixels[i]));
        }
        EXPECT_LE(worst, 4) << turns;
    }
}

TEST(PixelsForPlace, AveragesEveryPixelAndNeverEnlarges) {
    // Diagonal stripes one pixel wide, every third one white: each 3 × 3 block holds three.
    const samples::Bytes stripes = samples::Bmp(
        300, 90, 24, {}, [](int x, int y) { return (x + y) % 3 == 0 ? 0xFFFFFFu : 0u; });
    const Image placed = PixelsForPlace(stripes, Kind::Bmp, 300, 90, 0, {}, 100, 30).value();
    ASSERT_EQ(placed.width, 100);
    for (int y = 0; y < placed.height; ++y) {
        for (int x = 0; x < placed.width * 3; ++x) EXPECT_NEAR(placed.Row(y)[x], 85, 1);
    }
    const Image turned = PixelsForPlace(stripes, Kind::Bmp, 300, 90, 1, {}, 1000, 60).value();
    EXPECT_EQ(turned.width, 90);
    EXPECT_EQ(turned.height, 60);
    EXPECT_FALSE(PixelsForPlace(stripes, Kind::Bmp, 300, 90, 0, {400, 0, 10, 10}, 10, 10));
}

TEST(PlacedPixelsCache, KeepsWhatFitsItsBudgetDroppingTheLeastRecentlyUsed) {
    PlacedPixelsCache cache(100);
    const auto file = std::make_shared<const std::vector<std::uint8_t>>();
    int prepared = 0;
    const auto get = [&](int deviceWidth) {
        return cache.Get({file, 0, {}, deviceWidth, 4}, [&] {
            ++prepared;
            return AllocateImage(4, 4, PixelFormat::Bgra32);  // 64 bytes
        });
    };
    ASSERT_TRUE(get(4));
    get(4);
    get(5);  // over the budget: the first goes
    EXPECT_EQ(cache.HeldBytes(), 64u);
    get(5);
    get(4);
    EXPECT_EQ(prepared, 3);
}

}  // namespace
}  // namespace picture
