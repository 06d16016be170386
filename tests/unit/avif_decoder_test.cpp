#include <avif/avif.h>
#include <gtest/gtest.h>

#include "picture/decoders.h"
#include "picture/turn_and_crop.h"
#include "picture_samples.h"

namespace {

using namespace picture;

// The reference picture (blue 9, green down, red across, alpha falling to the right), tall enough to
// be turned in several bands.
Image Reference(PixelFormat format) {
    const int n = format == PixelFormat::Bgra32 ? 4 : 3;  // rows of 40 pixels need no padding
    Image image = AllocateImage(40, 100, format).value();
    for (int i = 0; i < 40 * 100 * n; ++i) image.pixels[i] = std::array{9, i / n / 40 * 2, i / n % 40 * 6, 220 - i / n % 40}[i % n];
    return image;
}

// The picture written by libavif with aom (8 bits 4:4:4 lossless, else 4:2:0 BT.709 limited range at
// quantizer 8) with an EXIF orientation of 6, 300 × 150 dpi, and such of these transforms as asked:
// 30 × 20 cut from (2, 4), turned a quarter anticlockwise, top and bottom exchanged.
samples::Bytes Encoded(Image image, int depth, avifTransformFlags transforms = 0) {
    avifImage* yuv = avifImageCreate(40, 100, depth, depth == 8 ? AVIF_PIXEL_FORMAT_YUV444 : AVIF_PIXEL_FORMAT_YUV420);
    yuv->matrixCoefficients = depth == 8 ? AVIF_MATRIX_COEFFICIENTS_IDENTITY : AVIF_MATRIX_COEFFICIENTS_BT709;
    yuv->yuvRange = depth == 8 ? AVIF_RANGE_FULL : AVIF_RANGE_LIMITED;
    const avifRGBImage rgb{.width = 40, .height = 100, .depth = 8,
                           .format = image.format == PixelFormat::Bgra32 ? AVIF_RGB_FORMAT_BGRA : AVIF_RGB_FORMAT_BGR,
                           .pixels = image.pixels.data(), .rowBytes = static_cast<std::uint32_t>(image.Stride())};
    const auto exif = samples::Exif({{0x0112, 3, 6}, {0x011A, 5, 300}, {0x011B, 5, 150}});
    const avifCropRect part{2, 4, 30, 20};
    avifDiagnostics diagnostics;
    avifImageRGBToYUV(yuv, &rgb), avifImageSetMetadataExif(yuv, exif.data(), exif.size());
    yuv->transformFlags = transforms, yuv->irot.angle = 1, yuv->imir.mode = 0;
    avifCleanApertureBoxConvertCropRect(&yuv->clap, &part, 40, 100, yuv->yuvFormat, &diagnostics);
    avifEncoder* encoder = avifEncoderCreate();
    encoder->minQuantizer = encoder->maxQuantizer = depth == 8 ? AVIF_QUANTIZER_LOSSLESS : 8;
    avifRWData out = AVIF_DATA_EMPTY;
    avifEncoderWrite(encoder, yuv, &out);
    samples::Bytes bytes(out.data, out.data + out.size);
    return avifRWDataFree(&out), avifEncoderDestroy(encoder), avifImageDestroy(yuv), bytes;
}

TEST(DecodeAvif, GivesTheReferenceAtEachDepthCutTurnedAndMirroredByTheContainerNotByExif) {
    const Image rgba = Reference(PixelFormat::Bgra32), rgb = Reference(PixelFormat::Bgr24);
    const samples::Bytes files[] = {Encoded(rgba, 8), Encoded(rgba, 10), Encoded(rgb, 10, AVIF_TRANSFORM_IROT),
                                    Encoded(rgb, 8, AVIF_TRANSFORM_IROT),
                                    Encoded(rgb, 8, AVIF_TRANSFORM_CLAP | AVIF_TRANSFORM_IROT | AVIF_TRANSFORM_IMIR)};
    const auto meanOff = [](const Image& a, const Image& b) {  // the mean difference of the samples
        double off = a.pixels.size() == b.pixels.size() ? 0 : 1e9;
        for (std::size_t i = 0; i < std::min(a.pixels.size(), b.pixels.size()); ++i) off += std::abs(a.pixels[i] - b.pixels[i]);
        return off / b.pixels.size();
    };
    EXPECT_TRUE(DecodeAvif(files[0]).value().pixels == rgba.pixels && meanOff(DecodeAvif(files[1]).value(), rgba) < 3);
    // Lossy and turned (chroma turned before its colours are made: close, not equal); cut, turned,
    // then top and bottom exchanged: mirrored over the diagonal.
    Image turned = rgb, upright = rgb, cut = CropImage(rgb, 2, 4, 30, 20).value();
    ASSERT_TRUE(TurnUpright(turned, 8) && TurnUpright(upright, 8) && TurnUpright(cut, 5));
    EXPECT_LT(meanOff(DecodeAvif(files[2]).value(), turned), 3);
    EXPECT_EQ(meanOff(DecodeAvif(files[3]).value(), upright), 0);
    const Image all = DecodeAvif(files[4]).value();
    const auto info = ReadAvifInfo(files[4]);
    EXPECT_TRUE(all.pixels == cut.pixels && all.width == 20 && info->width == 20 && info->kind == Kind::Avif);
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(samples::WriteSeed("fuzz-seeds", ("sample" + std::to_string(i) + ".avif").c_str(), files[i]));
}

TEST(DecodeAvif, RefusesDamagedFilesAndOversizedOnesBeforeTheirPixels) {
    auto file = Encoded(Reference(PixelFormat::Bgr24), 8), damaged = file;
    damaged[std::search(file.begin(), file.end(), "meta", "meta" + 4) - file.begin()] = 'x';
    EXPECT_FALSE(DecodeAvif(Bytes(file).first(file.size() - 20)) || DecodeAvif(Bytes(file).first(200)) ||
                 DecodeAvif(damaged) || ReadAvifInfo(damaged));
    const auto ispe = std::search(file.begin(), file.end(), "ispe", "ispe" + 4) - file.begin();
    for (const int at : {10, 14}) file[ispe + at] = 0x20, file[ispe + at + 1] = 0x08;  // 8200 × 8200: too many pixels
    EXPECT_LT(samples::PeakHeapGrowth([&] { EXPECT_FALSE(DecodeAvif(file) || ReadAvifInfo(file)); }), 1 << 20);
}

}  // namespace
