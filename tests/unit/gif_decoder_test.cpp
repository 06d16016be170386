#include <gtest/gtest.h>

#include "picture/decoders.h"
#include "picture_samples.h"

namespace {

using picture::DecodeGif;
using picture::DecodeGifAnimation;
using picture::Image;
using samples::Rgb;

const std::vector<Rgb> fourColours{{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};

std::uint8_t IndexAt(const Image& image, int x, int y) { return image.Row(y)[x]; }

// 0xAARRGGBB of a Bgra32 pixel.
std::uint32_t PixelAt(const Image& image, int x, int y) {
    const std::uint8_t* p = image.Row(y) + 4 * x;
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// Noise with runs in it, so that the encoder's table fills up.
samples::Bytes Noise(int count, int colours, std::uint32_t seed) {
    samples::Bytes pixels;
    while (static_cast<int>(pixels.size()) < count) {
        seed = seed * 1103515245 + 12345;
        const int run = 1 + (seed >> 28) % 4;
        for (int i = 0; i < run; ++i)
            pixels.push_back(static_cast<std::uint8_t>((seed >> 16) % colours));
    }
    pixels.resize(count);
    return pixels;
}

TEST(DecodeGif, ReadsTheSmallestTransparentGif) {
    // clang-format off
    const samples::Bytes file{
        'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0,  // 1 × 1, a 2-colour table
        0xFF, 0xFF, 0xFF, 0, 0, 0,                            // white, black
        0x21, 0xF9, 4, 1, 0, 0, 0, 0,                         // index 0 transparent
        0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0,                      // the image
        2, 2, 0x44, 0x01, 0,                                  // LZW from 2 bits: clear, 0, end
        0x3B};
    // clang-format on
    const auto image = DecodeGif(file);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->format, picture::PixelFormat::Indexed8);
    EXPECT_EQ(image->width, 1);
    EXPECT_EQ(image->height, 1);
    EXPECT_EQ(IndexAt(*image, 0, 0), 0);
    EXPECT_EQ(image->palette[0], 0xFFFFFFu);
    EXPECT_EQ(image->paletteSize, 2);
    EXPECT_EQ(image->transparentIndex, 0);
}

TEST(DecodeGif, PlacesAnInterlacedImageWithItsOwnTableOnTheBackground) {
    const int w = 5, h = 11;  // every interlace pass has rows
    samples::Bytes pixels;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) pixels.push_back(static_cast<std::uint8_t>((y * w + x) % 7));
    std::vector<Rgb> local;
    for (int i = 0; i < 7; ++i) local.push_back({static_cast<std::uint8_t>(i), 9, 9});
    const auto file = samples::Gif(12, 14, fourColours, 3)
                          .Comment()
                          .Control(0, 0, 6)
                          .Image(4, 2, w, h, pixels, local, true, 3)
                          .Finish();
    const auto image = DecodeGif(file);
    ASSERT_TRUE(image);
    ASSERT_EQ(image->width, 12);
    ASSERT_EQ(image->height, 14);
    EXPECT_EQ(image->paletteSize, 8);
    EXPECT_EQ(image->palette[5], 0x050909u);
    EXPECT_EQ(image->palette[7], 0u);
    EXPECT_EQ(image->transparentIndex, 6);
    for (int y = 0; y < 14; ++y) {
        for (int x = 0; x < 12; ++x) {
            const bool inside = x >= 4 && x < 4 + w && y >= 2 && y < 2 + h;
            const int expected = inside ? pixels[(y - 2) * w + x - 4] : 3;
            ASSERT_EQ(IndexAt(*image, x, y), expected) << x << "," << y;
        }
    }
}

struct LzwCase {
    int colours;
    int minCodeSize;
    bool clearWhenFull;
    std::size_t blockSize = 255;
};

class GifLzw : public testing::TestWithParam<LzwCase> {};

// Large enough for 12-bit codes; a full table is either cleared or kept (a deferred clear);
// codes straddle sub-blocks of any length.
TEST_P(GifLzw, DecodesWhatTheEncoderWrote) {
    const LzwCase c = GetParam();
    const int w = 301, h = 297;
    const auto pixels = Noise(w * h, c.colours, 7);
    const auto file =
        samples::Gif(w, h, std::vector<Rgb>(c.colours, Rgb{}))
            .Image(0, 0, w, h, pixels, {}, false, c.minCodeSize, c.clearWhenFull, c.blockSize)
            .Finish();
    const auto image = DecodeGif(file);
    ASSERT_TRUE(image);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            ASSERT_EQ(IndexAt(*image, x, y), pixels[y * w + x]) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(CodeSizes, GifLzw,
                         testing::Values(LzwCase{2, 1, true}, LzwCase{4, 2, true},
                                         LzwCase{2, 2, false}, LzwCase{200, 8, true},
                                         LzwCase{256, 8, false}, LzwCase{16, 4, true, 1},
                                         LzwCase{16, 4, true, 9}));

TEST(DecodeGif, ClipsAnImageReachingPastTheScreen) {
    const auto pixels = Noise(6 * 6, 4, 3);
    const auto image =
        DecodeGif(samples::Gif(4, 3, fourColours).Image(2, 1, 6, 6, pixels).Finish());
    ASSERT_TRUE(image);
    EXPECT_EQ(IndexAt(*image, 3, 2), pixels[1 * 6 + 1]);
    EXPECT_EQ(IndexAt(*image, 2, 1), pixels[0]);
}

TEST(DecodeGif, TakesTheImageSizeForAnEmptyScreen) {
    const auto image =
        DecodeGif(samples::Gif(0, 0, fourColours).Image(0, 0, 3, 2, Noise(6, 4, 1)).Finish());
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 3);
    EXPECT_EQ(image->height, 2);
}

TEST(DecodeGif, ShowsWhatATruncatedFileHoldsAndBackgroundAfter) {
    const int w = 40, h = 40;
    const auto pixels = Noise(w * h, 4, 5);
    const auto file =
        samples::Gif(w, h, fourColours, 2).Image(0, 0, w, h, pixels, {}, false, 2).Finish();
    const auto image = DecodeGif(picture::Bytes(file).first(file.size() / 2));
    ASSERT_TRUE(image);
    EXPECT_FALSE(image->complete);
    EXPECT_TRUE(DecodeGif(file)->complete);
    EXPECT_TRUE(DecodeGif(picture::Bytes(file).first(file.size() - 1))->complete);  // no trailer
    EXPECT_EQ(IndexAt(*image, 0, 0), pixels[0]);
    EXPECT_EQ(IndexAt(*image, w - 1, h - 1), 2);
    int decoded = 0;
    while (decoded < w * h && IndexAt(*image, decoded % w, decoded / w) == pixels[decoded])
        ++decoded;
    EXPECT_GT(decoded, w * h / 4);
}

TEST(DecodeGif, RefusesFilesWithoutAnImage) {
    const auto file = samples::Gif(4, 4, fourColours).Image(0, 0, 4, 4, Noise(16, 4, 2)).Finish();
    const std::size_t imageStart = 13 + 4 * 3;
    for (std::size_t n = 0; n <= imageStart + 9; ++n) {  // up to the image descriptor's end
        EXPECT_FALSE(DecodeGif(picture::Bytes(file).first(n))) << n << " bytes";
    }
    EXPECT_TRUE(DecodeGif(picture::Bytes(file).first(imageStart + 10)));
    EXPECT_FALSE(DecodeGif(samples::Gif(4, 4, fourColours).Comment().Finish()));

    auto lying = file;
    lying[10] = 0x87;  // a 256-colour global table that is not there
    EXPECT_FALSE(DecodeGif(lying));
    lying = file;
    lying[4] = '8';
    EXPECT_FALSE(DecodeGif(lying));
}

TEST(DecodeGif, RefusesAHugeScreen) {
    EXPECT_FALSE(
        DecodeGif(samples::Gif(60000, 60000, fourColours).Image(0, 0, 1, 1, {0}).Finish()));
    EXPECT_FALSE(DecodeGifAnimation(
        samples::Gif(60000, 60000, fourColours).Image(0, 0, 1, 1, {0}).Finish()));
}

constexpr std::uint32_t red = 0xFFFF0000, green = 0xFF00FF00, blue = 0xFF0000FF, none = 0;

TEST(DecodeGifAnimation, DrawsFramesWithTransparencyAndDisposal) {
    // Frame 1 fills the screen red and stays; 2 puts green over the left column with a
    // transparent pixel, then clears its place; 3 puts blue at the right, then is undone.
    const auto file = samples::Gif(2, 2, fourColours)
                          .Control(1, 10)
                          .Image(0, 0, 2, 2, {0, 0, 0, 0})
                          .Control(2, 20, 3)
                          .Image(0, 0, 1, 2, {1, 3})
                          .Control(3, 0)
                          .Image(1, 0, 1, 2, {2, 2})
                          .Image(0, 1, 1, 1, {2})
                          .Finish();
    const auto animation = DecodeGifAnimation(file);
    ASSERT_TRUE(animation);
    const auto& f = animation->frames;
    ASSERT_EQ(f.size(), 4u);
    auto pixels = [](const Image& i) {
        return std::vector<std::uint32_t>{PixelAt(i, 0, 0), PixelAt(i, 1, 0), PixelAt(i, 0, 1),
                                          PixelAt(i, 1, 1)};
    };
    using P = std::vector<std::uint32_t>;
    EXPECT_EQ(pixels(f[0].image), (P{red, red, red, red}));
    EXPECT_EQ(pixels(f[1].image), (P{green, red, red, red}));
    EXPECT_EQ(pixels(f[2].image), (P{none, blue, none, blue}));
    EXPECT_EQ(pixels(f[3].image), (P{none, red, blue, red}));
    EXPECT_EQ(f[0].delayMs, 100);
    EXPECT_EQ(f[1].delayMs, 200);
    EXPECT_EQ(f[3].delayMs, 0);
    EXPECT_EQ(f[0].image.format, picture::PixelFormat::Bgra32);
}

TEST(DecodeGifAnimation, LeavesOneImageAndFramesOverTheBudgetToTheStillPicture) {
    samples::Gif gif(8192, 8192, fourColours);  // the budget's pixels in one frame
    gif.Image(0, 0, 1, 1, {1});
    EXPECT_FALSE(DecodeGifAnimation(gif.Finish()));
    EXPECT_FALSE(DecodeGifAnimation(gif.Image(1, 0, 1, 1, {1}).Finish()));
}

TEST(DecodeGifAnimation, HoldsNothingButItsFrames) {
    const auto file = samples::Gif(512, 512, fourColours)  // a megabyte a frame
                          .Control(3, 0).Image(0, 0, 1, 1, {1}).Control(3, 0).Image(1, 0, 1, 1, {2}).Finish();
    std::optional<picture::Animation> animation;
    const long long peak = samples::PeakHeapGrowth([&] { animation = DecodeGifAnimation(file); });
    if (peak < 0) GTEST_SKIP() << "allocations are counted under AddressSanitizer only";
    ASSERT_TRUE(animation);
    EXPECT_LT(peak, 2 * (512 * 512 * 4) + 64 * 1024);
}

}  // namespace
