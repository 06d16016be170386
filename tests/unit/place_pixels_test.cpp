#include <algorithm>
#include <cstdlib>

#include <gtest/gtest.h>
#include <jpeglib.h>

#include "picture/decoders.h"
#include "picture/place_pixels.h"
#include "picture/shrink.h"
#include "picture/turn_and_crop.h"
#include "picture_samples.h"

namespace picture {
namespace {

// Red growing rightwards and green downwards, written by libjpeg.
samples::Bytes GradientJpeg(int width, int height) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_start_compress(&info, TRUE);
    samples::Bytes row(static_cast<std::size_t>(width) * 3, 128);
    for (JSAMPROW rows[] = {row.data()}; info.next_scanline < info.image_height;) {
        for (int x = 0; x < width; ++x) {
            row[3 * x] = static_cast<std::uint8_t>(x * 255 / width);
            row[3 * x + 1] = static_cast<std::uint8_t>(info.next_scanline * 255 / height);
        }
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    samples::Bytes bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
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
