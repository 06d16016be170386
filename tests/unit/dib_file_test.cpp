#include "picture/dib_file.h"

#include <gtest/gtest.h>

#include "picture/decoders.h"
#include "picture_samples.h"

namespace {

using samples::Bytes;

// One row of pixels under a plain header (three masks after it), or a BITMAPV5HEADER holding
// four masks.
Bytes Dib(int bits, const std::vector<std::uint32_t>& masks, const std::vector<std::uint32_t>& pixels) {
    Bytes out;
    samples::Put32(out, masks.size() == 4 ? 124 : 40);
    samples::Put32(out, static_cast<std::uint32_t>(pixels.size()));
    samples::Put32(out, 1);
    samples::Put16(out, 1);
    samples::Put16(out, static_cast<unsigned>(bits));
    samples::Put32(out, masks.empty() ? 0 : 3);
    out.resize(40, 0);
    for (std::uint32_t mask : masks) samples::Put32(out, mask);
    if (masks.size() == 4) out.resize(124, 0);
    for (std::uint32_t pixel : pixels) bits == 16 ? samples::Put16(out, pixel) : samples::Put32(out, pixel);
    out.resize((out.size() + 3) & ~std::size_t{3}, 0);
    return out;
}

TEST(FileImageFromDib, PaletteAndTrueColourDibsBecomeTheBmpFileTheyCameFrom) {
    const std::vector<samples::Rgb> palette{{255, 0, 0}, {0, 0, 255}};
    const auto pixel = [](int x, int y) -> std::uint32_t { return (x + y) % 2; };
    for (bool topDown : {false, true}) {
        for (int bits : {1, 4, 8, 24}) {
            const Bytes file = samples::Bmp(5, 3, bits, bits == 24 ? std::vector<samples::Rgb>{} : palette,
                                            [&](int x, int y) { return bits == 24 ? 0x102030u * (x + y) : pixel(x, y); },
                                            topDown);
            const Bytes dib(file.begin() + 14, file.end());
            const std::string name = "palette" + std::to_string(bits) + (topDown ? "t.dib" : ".dib");
            EXPECT_TRUE(samples::WriteSeed("dib-seeds", name.c_str(), dib));  // for dib_fuzz
            const auto made = picture::FileImageFromDib(dib);
            ASSERT_TRUE(made && picture::RecognizeKind(*made) == picture::Kind::Bmp);
            EXPECT_EQ(picture::DecodeBmp(*made)->pixels, picture::DecodeBmp(file)->pixels);
        }
    }
}

// 32 bits make a PNG only when the fourth byte is neither unused (all 0) nor opaque; 16 bits
// are read by their masks.
TEST(FileImageFromDib, DirectColourBecomesABmpOrWhenTranslucentAPngOfTheSameColours) {
    const std::vector<std::uint32_t> v5Masks{0xFF0000, 0xFF00, 0xFF, 0xFF000000};
    const struct {
        Bytes dib;
        picture::Kind kind;
        int alpha;
    } cases[] = {
        {Dib(32, {}, {0x00FF0000, 0x0000FF00}), picture::Kind::Bmp, -1},
        {Dib(32, {}, {0xFFFF0000, 0xFF00FF00}), picture::Kind::Bmp, -1},
        {Dib(32, {}, {0x80FF0000, 0xFF00FF00}), picture::Kind::Png, 0x80},
        {Dib(32, v5Masks, {0x40FF0000, 0x0000FF00}), picture::Kind::Png, 0x40},
        {Dib(16, {0xF800, 0x07E0, 0x001F}, {0xF800, 0x07E0}), picture::Kind::Bmp, -1},
    };
    int seed = 0;
    for (const auto& each : cases) {
        const std::string name = "direct" + std::to_string(seed++) + ".dib";  // for dib_fuzz
        EXPECT_TRUE(samples::WriteSeed("dib-seeds", name.c_str(), each.dib));
        const auto made = picture::FileImageFromDib(each.dib);
        ASSERT_TRUE(made && picture::RecognizeKind(*made) == each.kind);
        const auto image = picture::DecodePicture(*made, each.kind);
        ASSERT_TRUE(image && image->width == 2);
        const std::uint8_t* red = image->Row(0);
        EXPECT_EQ((Bytes{red[0], red[1], red[2]}), (Bytes{0, 0, 255}));
        if (each.alpha >= 0) EXPECT_EQ(red[3], each.alpha);
    }
}

TEST(FileImageFromDib, RefusesDibsItCannotShow) {
    const Bytes good = Dib(32, {}, {1, 2, 3});
    Bytes compressed = good, wide = good, noWidth = good, lyingHeader = good;
    compressed[16] = 1;  // BI_RLE8
    samples::Set32(wide, 4, 70000);
    samples::Set32(noWidth, 4, 0);
    samples::Set32(lyingHeader, 0, 1000);
    for (const Bytes& dib : {compressed, wide, noWidth, lyingHeader, Bytes(good.begin(), good.end() - 1),
                             Bytes(good.begin(), good.begin() + 39)}) {
        EXPECT_FALSE(picture::FileImageFromDib(dib));
    }
}

}  // namespace
