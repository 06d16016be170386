#include <gtest/gtest.h>
#include <libheif/heif_cxx.h>

#include "picture/decoders.h"
#include "picture/turn_and_crop.h"
#include "picture_samples.h"

// x265 keeps a little memory of each encoder to the end of the process.
extern "C" const char* __lsan_default_suppressions() { return "leak:libx265.so"; }

namespace {

using namespace picture;

constexpr int width = 40, height = 30;  // libheif's writer codes 40 × 32, cut by a grid of one tile
int Sample(int channel, int x, int y) { return std::array{x * 6, y * 8, 9, 255 - 2 * (x + y)}[channel]; }

// The reference picture as a lossless HEIC (4:4:4 in RGB) of 8 or 10 bits, without alpha (0), with
// it (1) or premultiplied by it (2), turned by orientation (written as irot and imir). Its EXIF
// block states orientation 7 whatever the boxes say.
samples::Bytes Encoded(int bits, int alpha, heif_orientation orientation = heif_orientation_normal) {
    heif::Image image;
    image.create(width, height, heif_colorspace_RGB, heif_chroma_444);
    for (int c = 0; c < 3 + (alpha > 0); ++c) {
        const auto channel = std::array{heif_channel_R, heif_channel_G, heif_channel_B, heif_channel_Alpha}[c];
        image.add_plane(channel, width, height, bits);
        int stride = 0;
        std::uint8_t* plane = image.get_plane(channel, &stride);
        for (int i = 0, x = 0, y = 0; i < width * height; x = ++i % width, y = i / width) {
            const int v = Sample(c, x, y) * (alpha == 2 && c < 3 ? Sample(3, x, y) : 255) / 255 << (bits - 8);
            bits > 8 ? reinterpret_cast<std::uint16_t*>(plane + y * stride)[x] = v : plane[y * stride + x] = v;
        }
    }
    image.set_premultiplied_alpha(alpha == 2);
    heif::ColorProfile_nclx rgb;
    rgb.set_matrix_coefficients(heif_matrix_coefficients_RGB_GBR);
    image.set_nclx_color_profile(rgb);
    heif::Encoder encoder(heif_compression_HEVC);
    encoder.set_lossless(true), encoder.set_string_parameter("chroma", "444");
    heif::Context context;
    heif::Context::EncodingOptions options;
    options.image_orientation = orientation;
    const samples::Bytes exif = samples::Exif({{0x0112, 3, 7}});
    context.add_exif_metadata(context.encode_image(image, encoder, options), exif.data(), static_cast<int>(exif.size()));
    const auto path = std::filesystem::temp_directory_path() / "mozhou-heif-test.heic";
    context.write_to_file(path);
    std::ifstream in(path, std::ios::binary);
    samples::Bytes file{std::istreambuf_iterator<char>(in), {}};
    std::filesystem::remove(path);
    return file;
}

// tolerance: premultiplied colours may be off by up to 255 / alpha / 2 once divided back.
void ExpectReference(const std::optional<Image>& image, bool alpha, int tolerance = 0) {
    ASSERT_TRUE(image && image->width == width && image->height == height && image->format == (alpha ? PixelFormat::Bgra32 : PixelFormat::Bgr24));
    for (int i = 0, x = 0, y = 0; i < width * height; x = ++i % width, y = i / width) {
        const std::uint8_t* p = image->Row(y) + (alpha ? 4 : 3) * x;  // blue, green, red, alpha
        for (int c = 0; c < 3 + alpha; ++c) ASSERT_LE(std::abs(p[c < 3 ? 2 - c : 3] - Sample(c, x, y)), c < 3 ? tolerance : 0) << x << "," << y;
    }
}

TEST(DecodeHeif, GivesThePicture8Or10BitsWithOrWithoutAlphaAndNotTurnedByExif) {
    for (int bits : {8, 10}) ExpectReference(DecodeHeif(Encoded(bits, 0)), false);
    const auto file = Encoded(8, 1);
    samples::WriteSeed("fuzz-seeds", "alpha.heic", file);
    ExpectReference(DecodePicture(file, Kind::Heif), true);
    ExpectReference(DecodeHeif(Encoded(8, 2)), true, 2);
}

TEST(DecodeHeif, TurnsByIrotAndImirOnce) {
    Image upright = DecodeHeif(Encoded(8, 0)).value();
    const auto file = Encoded(8, 0, heif_orientation_rotate_90_cw_then_flip_vertically);
    samples::WriteSeed("fuzz-seeds", "turned.heic", file);
    ASSERT_TRUE(TurnUpright(upright, 7));
    EXPECT_EQ(DecodeHeif(file).value().pixels, upright.pixels);
    EXPECT_TRUE(ReadHeifInfo(file)->width == height && ReadHeifInfo(file)->dpiX == 0);
}

TEST(DecodeHeif, RefusesCutFilesAndSizesBeyondTheLargestBeforeDecoding) {
    auto file = Encoded(8, 0), grid = file;
    EXPECT_FALSE(DecodeHeif(Bytes(file).first(file.size() * 3 / 4)));
    const samples::Bytes ispe = {'i', 's', 'p', 'e', 0, 0, 0, 0, 0, 0, 0, width, 0, 0, 0, height}, idat = {'i', 'd', 'a', 't'};
    std::copy_n("\0\0\x20\x01\0\0\x20\x01", 8, std::search(file.begin(), file.end(), ispe.begin(), ispe.end()) + 8);  // 8193 × 8193
    std::copy_n("\xFD\xE8\x04\x4C", 4, std::search(grid.begin(), grid.end(), idat.begin(), idat.end()) + 8);  // the grid's own: 65000 × 1100
    for (const auto& refused : {file, grid}) {
        EXPECT_LT(samples::PeakHeapGrowth([&] { EXPECT_FALSE(DecodeHeif(refused)); }), 1 << 20);
        EXPECT_FALSE(ReadHeifInfo(refused));
    }
}

}  // namespace
