#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <gtest/gtest.h>
#include <jpeglib.h>

#include "picture/decoders.h"
#include "picture_samples.h"

namespace picture {
namespace {

using ByteVector = std::vector<std::uint8_t>;

struct EncodeOptions {
    J_COLOR_SPACE input = JCS_RGB;
    int components = 3;
    J_COLOR_SPACE stored = JCS_YCbCr;  // the colour space written to the file
    bool progressive = false;
    bool fullResolutionColour = false;
    int quality = 90;
};

// Encodes samples (components per pixel, rows packed) with libjpeg into memory.
ByteVector Encode(const ByteVector& samples, int width, int height, const EncodeOptions& options) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = options.components;
    info.in_color_space = options.input;
    jpeg_set_defaults(&info);
    jpeg_set_colorspace(&info, options.stored);
    jpeg_set_quality(&info, options.quality, TRUE);
    if (options.fullResolutionColour) {
        for (int c = 0; c < info.num_components; ++c) {
            info.comp_info[c].h_samp_factor = 1;
            info.comp_info[c].v_samp_factor = 1;
        }
    }
    if (options.progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    const std::size_t rowBytes = static_cast<std::size_t>(width) * options.components;
    while (info.next_scanline < info.image_height) {
        auto* row = const_cast<JSAMPLE*>(samples.data() + info.next_scanline * rowBytes);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    ByteVector bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

// Red, green and blue changing across the picture, so that any swap or offset shows.
ByteVector Gradient(int width, int height) {
    ByteVector samples;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            samples.push_back(static_cast<std::uint8_t>(x * 255 / std::max(1, width - 1)));
            samples.push_back(static_cast<std::uint8_t>(y * 255 / std::max(1, height - 1)));
            samples.push_back(static_cast<std::uint8_t>((x + y) * 7));
        }
    }
    return samples;
}

// The same file through libjpeg with nothing but plain RGB output: what the decoder must equal.
ByteVector PlainRgbDecode(const ByteVector& bytes, int& width, int& height) {
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    width = static_cast<int>(info.output_width);
    height = static_cast<int>(info.output_height);
    ByteVector samples(static_cast<std::size_t>(width) * height * 3);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = samples.data() + static_cast<std::size_t>(info.output_scanline) * width * 3;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return samples;
}

void ExpectEqualsRgb(const Image& image, const ByteVector& rgb) {
    ASSERT_EQ(image.format, PixelFormat::Bgr24);
    ASSERT_EQ(image.pixels.size(), image.Stride() * static_cast<std::size_t>(image.height));
    int differing = 0;
    for (int y = 0; y < image.height; ++y) {
        const std::uint8_t* row = image.Row(y);
        for (int x = 0; x < image.width; ++x) {
            const std::uint8_t* expected = rgb.data() + (static_cast<std::size_t>(y) * image.width + x) * 3;
            if (row[x * 3] != expected[2] || row[x * 3 + 1] != expected[1] || row[x * 3 + 2] != expected[0]) {
                ++differing;
            }
        }
        for (std::size_t pad = static_cast<std::size_t>(image.width) * 3; pad < image.Stride(); ++pad) {
            EXPECT_EQ(row[pad], 0) << "row " << y << " padding";
        }
    }
    EXPECT_EQ(differing, 0);
}

std::size_t FindMarker(const ByteVector& bytes, std::uint8_t marker, std::size_t from = 0) {
    for (std::size_t i = from; i + 1 < bytes.size(); ++i) {
        if (bytes[i] == 0xFF && bytes[i + 1] == marker) return i;
    }
    return bytes.size();
}

std::size_t FindLastMarker(const ByteVector& bytes, std::uint8_t marker) {
    std::size_t found = bytes.size();
    for (std::size_t i = FindMarker(bytes, marker); i < bytes.size(); i = FindMarker(bytes, marker, i + 2)) {
        found = i;
    }
    return found;
}

// Writes a new size into the frame header (SOF0 or SOF2).
ByteVector WithFrameSize(ByteVector bytes, int width, int height) {
    std::size_t sof = FindMarker(bytes, 0xC0);
    if (sof == bytes.size()) sof = FindMarker(bytes, 0xC2);
    EXPECT_LT(sof + 9, bytes.size());
    bytes[sof + 5] = static_cast<std::uint8_t>(height >> 8);
    bytes[sof + 6] = static_cast<std::uint8_t>(height);
    bytes[sof + 7] = static_cast<std::uint8_t>(width >> 8);
    bytes[sof + 8] = static_cast<std::uint8_t>(width);
    return bytes;
}

TEST(JpegDecoder, BaselineColourEqualsLibjpegsOwnOutputInBlueGreenRedOrder) {
    for (const int width : {1, 13, 16, 37}) {  // rows with 1, 3, 0 and 1 bytes of padding
        SCOPED_TRACE(width);
        const ByteVector bytes = Encode(Gradient(width, 21), width, 21, {});
        const auto image = DecodeJpeg(bytes);
        ASSERT_TRUE(image.has_value());
        EXPECT_EQ(image->width, width);
        EXPECT_EQ(image->height, 21);
        int w = 0, h = 0;
        ExpectEqualsRgb(*image, PlainRgbDecode(bytes, w, h));
    }
}

TEST(JpegDecoder, ColoursComeOutNearlyAsEncoded) {
    // One flat colour per file, full-resolution colour at the highest quality: only rounding.
    const std::uint8_t colours[][3] = {{200, 30, 10}, {10, 180, 40}, {20, 40, 230}};
    for (const auto& colour : colours) {
        ByteVector samples;
        for (int i = 0; i < 16 * 8; ++i) samples.insert(samples.end(), colour, colour + 3);
        EncodeOptions options;
        options.quality = 100;
        options.fullResolutionColour = true;
        const auto image = DecodeJpeg(Encode(samples, 16, 8, options));
        ASSERT_TRUE(image.has_value());
        const std::uint8_t* pixel = image->Row(4) + 5 * 3;
        EXPECT_NEAR(pixel[0], colour[2], 2);
        EXPECT_NEAR(pixel[1], colour[1], 2);
        EXPECT_NEAR(pixel[2], colour[0], 2);
    }
}

TEST(JpegDecoder, ScaledDecodeTakesTheSmallestQuickScaleStillAtLeastTheWantedSize) {
    const ByteVector bytes = Encode(Gradient(64, 48), 64, 48, {});
    const struct { int atLeastWidth, atLeastHeight, width, height; } cases[] = {
        {16, 12, 16, 12}, {17, 12, 32, 24}, {65, 48, 64, 48}};
    for (const auto& wanted : cases) {
        const auto image = DecodeJpegScaled(bytes, wanted.atLeastWidth, wanted.atLeastHeight);
        ASSERT_TRUE(image.has_value());
        EXPECT_EQ(image->width, wanted.width);
        EXPECT_EQ(image->height, wanted.height);
    }
    const auto info = ReadPictureInfo(bytes);
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->width, 64);
    EXPECT_EQ(info->height, 48);
}

TEST(JpegDecoder, ScaledDecodeKeepsAFlatColour) {
    const std::uint8_t colour[3] = {200, 30, 10};
    ByteVector samples;
    for (int i = 0; i < 64 * 48; ++i) samples.insert(samples.end(), colour, colour + 3);
    const auto image = DecodeJpegScaled(Encode(samples, 64, 48, {}), 8, 6);
    ASSERT_TRUE(image.has_value());
    ASSERT_EQ(image->width, 8);
    for (int y = 0; y < image->height; ++y) {
        for (int x = 0; x < image->width; ++x) {
            const std::uint8_t* pixel = image->Row(y) + x * 3;
            EXPECT_NEAR(pixel[0], colour[2], 3);
            EXPECT_NEAR(pixel[1], colour[1], 3);
            EXPECT_NEAR(pixel[2], colour[0], 3);
        }
    }
}

TEST(JpegDecoder, ProgressiveGivesTheSamePixelsAsBaseline) {
    // A progressive file holds the same quantised coefficients, only in several scans.
    const ByteVector samples = Gradient(45, 30);
    EncodeOptions options;
    const auto baseline = DecodeJpeg(Encode(samples, 45, 30, options));
    options.progressive = true;
    const ByteVector progressiveBytes = Encode(samples, 45, 30, options);
    ASSERT_NE(FindMarker(progressiveBytes, 0xC2), progressiveBytes.size());
    const auto progressive = DecodeJpeg(progressiveBytes);
    ASSERT_TRUE(baseline.has_value());
    ASSERT_TRUE(progressive.has_value());
    EXPECT_EQ(progressive->pixels, baseline->pixels);
}

TEST(JpegDecoder, GreyscaleIsSpreadOverBlueGreenAndRed) {
    ByteVector samples;
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 11; ++x) samples.push_back(static_cast<std::uint8_t>(x * 20 + y));
    }
    EncodeOptions options;
    options.input = JCS_GRAYSCALE;
    options.components = 1;
    options.stored = JCS_GRAYSCALE;
    const ByteVector bytes = Encode(samples, 11, 10, options);
    const auto image = DecodeJpeg(bytes);
    ASSERT_TRUE(image.has_value());
    int w = 0, h = 0;
    ExpectEqualsRgb(*image, PlainRgbDecode(bytes, w, h));
    EXPECT_NEAR(image->Row(5)[7 * 3], 7 * 20 + 5, 3);
}

TEST(JpegDecoder, AdobeCmykAndYcckBecomeInkTimesBlack) {
    // Stored inverted, as Adobe's programs write it: 255 is no ink.
    struct Case {
        std::uint8_t c, m, y, k;
    };
    const Case cases[] = {{255, 255, 255, 255}, {0, 255, 255, 255}, {255, 128, 0, 255}, {200, 100, 50, 128}};
    for (const J_COLOR_SPACE stored : {JCS_CMYK, JCS_YCCK}) {
        for (const Case& ink : cases) {
            ByteVector samples;
            for (int i = 0; i < 16 * 16; ++i) samples.insert(samples.end(), {ink.c, ink.m, ink.y, ink.k});
            EncodeOptions options;
            options.input = JCS_CMYK;
            options.components = 4;
            options.stored = stored;
            options.quality = 100;
            options.fullResolutionColour = true;
            const auto image = DecodeJpeg(Encode(samples, 16, 16, options));
            ASSERT_TRUE(image.has_value());
            ASSERT_EQ(image->format, PixelFormat::Bgr24);
            const std::uint8_t* pixel = image->Row(8) + 8 * 3;
            EXPECT_NEAR(pixel[2], ink.c * ink.k / 255, 3);
            EXPECT_NEAR(pixel[1], ink.m * ink.k / 255, 3);
            EXPECT_NEAR(pixel[0], ink.y * ink.k / 255, 3);
        }
    }
}

TEST(JpegDecoder, RefusesWhatIsNoJpegOrTooShort) {
    EXPECT_FALSE(DecodeJpeg({}).has_value());
    const ByteVector startOnly = {0xFF, 0xD8, 0xFF};
    EXPECT_FALSE(DecodeJpeg(startOnly).has_value());
    const ByteVector startAndEnd = {0xFF, 0xD8, 0xFF, 0xD9};
    EXPECT_FALSE(DecodeJpeg(startAndEnd).has_value());
    ByteVector text(300, 'x');
    EXPECT_FALSE(DecodeJpeg(text).has_value());
    ByteVector png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13};
    EXPECT_FALSE(DecodeJpeg(png).has_value());
}

TEST(JpegDecoder, RefusesAFileThatEndsInsideItsHeader) {
    const ByteVector bytes = Encode(Gradient(32, 32), 32, 32, {});
    const std::size_t scanStart = FindMarker(bytes, 0xDA);
    ASSERT_LT(scanStart, bytes.size());
    for (const std::size_t length : {std::size_t{4}, std::size_t{20}, scanStart / 2, scanStart}) {
        const ByteVector cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
        EXPECT_FALSE(DecodeJpeg(cut).has_value()) << length;
    }
}

TEST(JpegDecoder, RefusesSizesThatCannotBeHeldBeforeAllocating) {
    const ByteVector bytes = Encode(Gradient(16, 16), 16, 16, {});
    // 65535 × 65535 would want 12 GB; 65535 × 1025 is just above the largest pixel count.
    EXPECT_FALSE(DecodeJpeg(WithFrameSize(bytes, 65535, 65535)).has_value());
    EXPECT_FALSE(DecodeJpeg(WithFrameSize(bytes, 65535, 1025)).has_value());
    EXPECT_FALSE(DecodeJpeg(WithFrameSize(bytes, 0, 16)).has_value());
    EXPECT_FALSE(DecodeJpeg(WithFrameSize(bytes, 16, 0)).has_value());
}

TEST(JpegDecoder, RefusesASmallProgressiveFileClaimingAHugePicture) {
    EncodeOptions options;
    options.progressive = true;
    const ByteVector bytes = Encode(Gradient(16, 16), 16, 16, options);
    // Its coefficients alone would take 384 MB: more than a file of a few hundred bytes can fill.
    EXPECT_FALSE(DecodeJpeg(WithFrameSize(bytes, 8192, 8192)).has_value());
    EXPECT_TRUE(DecodeJpeg(WithFrameSize(bytes, 1024, 1024)).has_value());
}

TEST(JpegDecoder, AcceptsDataThatEndsEarlyAndShowsTheMissingRowsGrey) {
    ByteVector samples(64 * 64 * 3, 0);  // black, so that the grey rows stand out
    const ByteVector bytes = Encode(samples, 64, 64, {});
    const std::size_t scanStart = FindMarker(bytes, 0xDA);
    // Keep a little of the entropy-coded data: the first rows decode, the rest is missing.
    const ByteVector cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(scanStart + 20));
    const auto image = DecodeJpeg(cut);
    ASSERT_TRUE(image.has_value());
    EXPECT_FALSE(image->complete);
    EXPECT_TRUE(DecodeJpeg(bytes)->complete);
    EXPECT_EQ(image->width, 64);
    EXPECT_EQ(image->height, 64);
    EXPECT_LT(image->Row(0)[0], 16);
    const std::uint8_t* last = image->Row(63) + 63 * 3;
    EXPECT_NEAR(last[0], 128, 2);
    EXPECT_NEAR(last[1], 128, 2);
    EXPECT_NEAR(last[2], 128, 2);
}

TEST(JpegDecoder, SurvivesDamagedEntropyCodedData) {
    ByteVector bytes = Encode(Gradient(48, 40), 48, 40, {});
    const std::size_t scanStart = FindMarker(bytes, 0xDA);
    std::uint32_t state = 12345;
    for (int round = 0; round < 50; ++round) {
        ByteVector damaged = bytes;
        for (int i = 0; i < 8; ++i) {
            state = state * 1103515245u + 12345u;
            const std::size_t at = scanStart + 14 + (state >> 8) % (bytes.size() - scanStart - 16);
            damaged[at] = static_cast<std::uint8_t>(state >> 24);
        }
        const auto image = DecodeJpeg(damaged);  // decoded or refused, never a crash
        if (image) {
            EXPECT_EQ(image->pixels.size(), image->Stride() * static_cast<std::size_t>(image->height));
        }
    }
}

TEST(JpegDecoder, RefusesAFileWithEndlessScans) {
    EncodeOptions options;
    options.progressive = true;
    const ByteVector bytes = Encode(Gradient(24, 24), 24, 24, options);
    const std::size_t lastScan = FindLastMarker(bytes, 0xDA);
    const std::size_t end = FindLastMarker(bytes, 0xD9);
    ASSERT_LT(lastScan, end);
    const auto repeatLastScan = [&](int times) {
        ByteVector repeated(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(end));
        for (int i = 0; i < times; ++i) {
            repeated.insert(repeated.end(), bytes.begin() + static_cast<std::ptrdiff_t>(lastScan),
                            bytes.begin() + static_cast<std::ptrdiff_t>(end));
        }
        repeated.insert(repeated.end(), {0xFF, 0xD9});
        return repeated;
    };
    EXPECT_TRUE(DecodeJpeg(repeatLastScan(5)).has_value());
    EXPECT_FALSE(DecodeJpeg(repeatLastScan(1100)).has_value());
}

// The file with an APP1 marker holding the EXIF block (under 254 bytes) after the start of image.
ByteVector WithExif(ByteVector bytes, const samples::Bytes& exif) {
    bytes.insert(bytes.begin() + 2, {0xFF, 0xE1, 0, static_cast<std::uint8_t>(exif.size() + 2)});
    bytes.insert(bytes.begin() + 6, exif.begin(), exif.end());
    return bytes;
}

// A 64 × 32 picture of four flat quarters, stored as the EXIF orientation table says: stored
// row 0 and column 0 lie along the sides of the upright picture it names for the orientation.
const std::uint8_t quarters[4][3] = {{220, 30, 30}, {30, 200, 30}, {30, 30, 220}, {240, 240, 240}};
ByteVector StoredQuarters(int o) {
    const int w = o >= 5 ? 32 : 64, h = 2048 / w;
    ByteVector samples;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int along = (o == 2 || o == 3 || o == 7 || o == 8) ? w - 1 - x : x;
            const int down = (o == 3 || o == 4 || o == 6 || o == 7) ? h - 1 - y : y;
            const auto* colour = quarters[((o >= 5 ? along : down) >= 16) * 2 + ((o >= 5 ? down : along) >= 32)];
            samples.insert(samples.end(), colour, colour + 3);
        }
    }
    return WithExif(Encode(samples, w, h, {}), samples::Exif({{0x0112, 3, static_cast<std::uint32_t>(o)}}, o % 2 == 0));
}

TEST(JpegDecoder, TurnsEveryExifOrientationUprightAndScalesByTheUprightSize) {
    for (int orientation = 1; orientation <= 8; ++orientation) {
        const auto image = DecodeJpeg(StoredQuarters(orientation));
        ASSERT_TRUE(image && image->width == 64 && image->height == 32) << orientation;
        for (int q = 0; q < 4; ++q) {
            const std::uint8_t* pixel = image->Row(8 + 16 * (q / 2)) + 3 * (16 + 32 * (q % 2));
            for (int c = 0; c < 3; ++c) EXPECT_NEAR(pixel[c], quarters[q][2 - c], 40) << orientation << q;
        }
    }
    const auto half = DecodeJpegScaled(StoredQuarters(6), 32, 16);  // half of 64 × 32
    EXPECT_TRUE(half && half->width == 32 && half->height == 16);
    ByteVector damaged = StoredQuarters(6);
    damaged[26] = 0x7F;  // the orientation's count (big-endian): too large to be held in its entry
    EXPECT_EQ(DecodeJpeg(damaged)->width, 32);  // as stored
}

TEST(JpegDecoder, ResolutionComesFromJfifElseExifAndTheHeaderAloneGivesTheUprightSize) {
    ByteVector plain = Encode(Gradient(16, 8), 16, 8, {});  // JFIF without units
    const auto exif = samples::Exif({{0x0112, 3, 6}, {0x011A, 5, 300}, {0x011B, 5, 150}});
    const auto image = DecodeJpeg(WithExif(plain, exif));
    EXPECT_TRUE(image->dpiX == 150 && image->dpiY == 300);  // stored rows run down the upright picture
    plain[13] = 2, plain[15] = 100, plain[17] = 200;  // JFIF per centimetre
    const ByteVector bytes = WithFrameSize(WithExif(plain, exif), 6000, 4000);
    std::optional<PictureInfo> info;
    EXPECT_LT(samples::PeakHeapGrowth([&] { info = ReadPictureInfo(bytes); }), 1 << 20);
    ASSERT_TRUE(info && info->kind == Kind::Jpeg && info->width == 4000 && info->height == 6000);
    EXPECT_NEAR(info->dpiX, 508, 1e-9);
    EXPECT_NEAR(info->dpiY, 254, 1e-9);
    EXPECT_FALSE(ReadPictureInfo(WithFrameSize(plain, 65535, 65535)).has_value());
}

// Baseline and progressive files for the picture fuzzer to start from (<build>/fuzz-seeds).
TEST(JpegSeeds, AreWritten) {
    EncodeOptions progressive;
    progressive.progressive = true;
    EXPECT_TRUE(samples::WriteSeed("fuzz-seeds", "sample.jpg", Encode(Gradient(17, 9), 17, 9, {})));
    EXPECT_TRUE(samples::WriteSeed("fuzz-seeds", "progressive.jpg", Encode(Gradient(17, 9), 17, 9, progressive)));
    EXPECT_TRUE(samples::WriteSeed("fuzz-seeds", "exif.jpg", StoredQuarters(6)));
}

}  // namespace
}  // namespace picture
