#include <algorithm>

#include <gtest/gtest.h>

#include "picture/decoders.h"
#include "picture_samples.h"

namespace {

using picture::Kind;

samples::Bytes SampleBmp() {
    return samples::Bmp(3, 2, 24, {}, [](int x, int y) { return 0x010203u * (x + 3 * y); });
}
samples::Bytes SampleGif() {
    return samples::Gif(6, 9, {{0, 0, 0}, {255, 255, 255}, {9, 90, 200}})
        .Control(1, 5, 2)
        .Image(0, 0, 6, 9, samples::Bytes(54, 1), {}, true, 2)
        .Control(2, 5)
        .Image(1, 1, 3, 3, {0, 1, 2, 2, 1, 0, 0, 0, 0}, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}, false, 2)
        .Finish();
}
samples::Bytes SamplePcx8() {
    return samples::Pcx(3, 2, 8, 4, {1, 1, 0xC1, 0, 5, 6, 7, 7}, {{1, 2, 3}, {4, 5, 6}});
}
samples::Bytes SamplePcx1() { return samples::Pcx(9, 2, 1, 2, {0xF0, 0x80, 0x0F, 0x00}, {}, 3); }
samples::Bytes SampleWebp() {  // 2 × 1 lossless, as libwebp writes it
    return {0x52, 0x49, 0x46, 0x46, 0x2E, 0, 0, 0, 0x57, 0x45, 0x42, 0x50, 0x56, 0x50, 0x38, 0x4C,
            0x21, 0, 0, 0, 0x2F, 0x01, 0, 0, 0x10, 0x0F, 0xA0, 0x10, 0x40, 0, 0x14, 0x34, 0x0A,
            0x01, 0x04, 0x40, 0x41, 0xA3, 0x10, 0x40, 0, 0x14, 0x34, 0x0F, 0xFC, 0x8F, 0xF6, 0x0F,
            0x15, 0x88, 0xE8, 0x7F, 0, 0};
}
samples::Bytes SampleIcon() { return samples::Icon({{16, 0, 32}, {32, 16, 4}, {0, 0, 32, true}}); }

TEST(DecodePicture, GoesToTheDecoderOfTheKind) {
    const auto bmp = picture::DecodePicture(SampleBmp(), Kind::Bmp);
    ASSERT_TRUE(bmp);
    EXPECT_EQ(bmp->format, picture::PixelFormat::Bgr24);
    const auto gif = picture::DecodePicture(SampleGif(), Kind::Gif);
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif->height, 9);
    EXPECT_EQ(picture::DecodePicture(SamplePcx8(), Kind::Pcx8)->format,
              picture::PixelFormat::Indexed8);
    EXPECT_EQ(picture::DecodePicture(SamplePcx1(), Kind::Pcx1)->format,
              picture::PixelFormat::Mono1);
}

TEST(DecodePicture, LeavesIconsAndUnknownBytesAlone) {
    EXPECT_FALSE(picture::DecodePicture(SampleIcon(), Kind::Icon));
    EXPECT_FALSE(picture::DecodePicture(SampleIcon(), Kind::Cursor));
    EXPECT_FALSE(picture::DecodePicture(SampleBmp(), Kind::None));
}

TEST(DecodeWebp, ShowsAFileCutAmongItsPixelsAsIncomplete) {
    const auto file = SampleWebp();
    EXPECT_TRUE(picture::DecodeWebp(file)->complete);
    EXPECT_FALSE(picture::DecodeWebp(picture::Bytes(file).first(20)));
    for (const std::size_t n : {30, 40}) {
        EXPECT_EQ(picture::StateOf(picture::DecodeWebp(picture::Bytes(file).first(n))),
                  picture::PictureState::Incomplete) << n;
    }
}

TEST(DecodeWebp, TurnsByItsExifChunk) {
    auto file = SampleWebp();
    const auto exif = samples::Exif({{0x0112, 3, 8}});
    file.insert(file.end(), {'E', 'X', 'I', 'F', static_cast<std::uint8_t>(exif.size()), 0, 0, 0});
    file.insert(file.end(), exif.begin(), exif.end());
    samples::Set32(file, 4, static_cast<std::uint32_t>(file.size() - 8));
    const auto plain = picture::DecodeWebp(SampleWebp());
    const auto turned = picture::DecodeWebp(file);
    ASSERT_TRUE(turned && turned->height == 2);
    EXPECT_TRUE(std::equal(turned->Row(0), turned->Row(0) + 4, plain->Row(0) + 4));
    EXPECT_EQ(picture::ReadPictureInfo(file)->height, 2);
}

TEST(ReadPictureInfo, GivesBmpAndPcxResolutionAndTheChosenIconsSize) {
    const auto bmp = picture::ReadPictureInfo(SampleBmp());  // 2835 pixels per metre
    EXPECT_NEAR(bmp->dpiX, 72, 0.01);
    EXPECT_EQ(picture::DecodeBmp(SampleBmp())->dpiY, bmp->dpiY);
    auto pcx = SamplePcx8();
    pcx[12] = 44, pcx[13] = 1, pcx[14] = 150;  // 300 × 150
    EXPECT_TRUE(picture::DecodePcx(pcx)->dpiX == 300 && picture::ReadPictureInfo(pcx)->dpiY == 150);
    const auto icon = picture::ReadPictureInfo(SampleIcon());
    EXPECT_TRUE(icon && icon->kind == Kind::Icon && icon->width == 32 && icon->dpiX == 0);
}

// One valid file per format for the fuzzer to start from, written beside the build's tests:
// <build>/fuzz-seeds.
TEST(PictureSeeds, AreWrittenAndRecognised) {
    const struct {
        const char* name;
        samples::Bytes bytes;
        Kind kind;
    } seeds[] = {{"sample.bmp", SampleBmp(), Kind::Bmp},
                 {"sample.gif", SampleGif(), Kind::Gif},
                 {"sample8.pcx", SamplePcx8(), Kind::Pcx8},
                 {"sample1.pcx", SamplePcx1(), Kind::Pcx1},
                 {"sample.ico", SampleIcon(), Kind::Icon},
                 {"sample.webp", SampleWebp(), Kind::Webp}};
    for (const auto& seed : seeds) {
        EXPECT_EQ(picture::RecognizeKind(seed.bytes), seed.kind) << seed.name;
        EXPECT_TRUE(samples::WriteSeed("fuzz-seeds", seed.name, seed.bytes)) << seed.name;
    }
    EXPECT_TRUE(picture::SelectIconImage(seeds[4].bytes));
    EXPECT_EQ(picture::DecodeGifAnimation(seeds[1].bytes)->frames.size(), 2u);
}

}  // namespace
