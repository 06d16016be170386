// Picture objects made from file bytes, their handles, and how each kind is drawn onto a DC.
#include <gtest/gtest.h>

#include "picture/page_picture_win.h"
#include "picture/picture_object_win.h"
#include "picture/render_win.h"
#include "picture_files.h"
#include "test_support.h"

namespace {

using picture::Kind;
using picture::PictureObject;
using testing_win::Pictures;
using testing_win::Canvas;

constexpr COLORREF red = RGB(255, 0, 0);
constexpr COLORREF green = RGB(0, 255, 0);
constexpr COLORREF blue = RGB(0, 0, 255);
constexpr COLORREF yellow = RGB(255, 255, 0);
constexpr COLORREF white = RGB(255, 255, 255);
constexpr COLORREF black = RGB(0, 0, 0);
constexpr COLORREF grey = RGB(128, 128, 128);

// Red, green / blue, yellow: tells upside down and mirrored from upright.
COLORREF Quarters(int x, int y) {
    if (y == 0) return x == 0 ? red : green;
    return x == 0 ? blue : yellow;
}

std::optional<PictureObject> Load(const testing_win::FileBytes& bytes) {
    return PictureObject::FromBytes(bytes);
}

// ---- picture objects ------------------------------------------------------------------------

TEST(PictureObject, KindAndSizeComeFromTheBytes) {
    const auto bmp = Load(testing_win::SolidBmp(5, 3, red));
    ASSERT_TRUE(bmp);
    EXPECT_EQ(bmp->GetKind(), Kind::Bmp);
    EXPECT_EQ(bmp->Width(), 5);
    EXPECT_EQ(bmp->Height(), 3);
    ASSERT_NE(bmp->Pixels(), nullptr);
    EXPECT_EQ(bmp->IconHandle(), nullptr);

    const auto png = Load(testing_win::ThreeAlphaPng());
    ASSERT_TRUE(png);
    EXPECT_EQ(png->GetKind(), Kind::Png);
    EXPECT_EQ(png->Width(), 3);
    EXPECT_EQ(png->Height(), 1);

    const auto gif = Load(testing_win::Gif(4, 2, {red}, {{std::vector<std::uint8_t>(8, 0)}}));
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif->GetKind(), Kind::Gif);
    EXPECT_EQ(gif->Width(), 4);

    const auto pcx = Load(testing_win::Pcx8(3, 2, {red}, std::vector<std::uint8_t>(6, 0)));
    ASSERT_TRUE(pcx);
    EXPECT_EQ(pcx->GetKind(), Kind::Pcx8);
    const auto mono =
        Load(testing_win::Pcx1(9, 2, black, white, [](int, int) { return false; }));
    ASSERT_TRUE(mono);
    EXPECT_EQ(mono->GetKind(), Kind::Pcx1);
    EXPECT_EQ(mono->Width(), 9);
}

TEST(PictureObject, IconsAndCursorsAreMadeByWindows) {
    const auto icon = Load(testing_win::SolidIconFile(1, 16, green));
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->GetKind(), Kind::Icon);
    EXPECT_EQ(icon->Width(), 16);
    EXPECT_EQ(icon->Height(), 16);
    EXPECT_NE(icon->IconHandle(), nullptr);
    EXPECT_EQ(icon->Pixels(), nullptr);

    const auto cursor = Load(testing_win::SolidIconFile(2, 32, blue));
    ASSERT_TRUE(cursor);
    EXPECT_EQ(cursor->GetKind(), Kind::Cursor);
    EXPECT_EQ(cursor->Width(), 32);
    EXPECT_NE(cursor->IconHandle(), nullptr);
}

TEST(PictureObject, BytesThatAreNoPictureGiveNothing) {
    EXPECT_FALSE(PictureObject::FromBytes({}));
    const testing_win::FileBytes sevenBytes{'B', 'M', 0, 0, 0, 0, 0};
    EXPECT_FALSE(PictureObject::FromBytes(sevenBytes));
    const testing_win::FileBytes text{'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'};
    EXPECT_FALSE(PictureObject::FromBytes(text));
    testing_win::FileBytes cut = testing_win::SolidBmp(40, 40, red);
    cut.resize(cut.size() / 2);
    EXPECT_FALSE(PictureObject::FromBytes(cut)->Complete());  // shown as far as it goes
    EXPECT_TRUE(PictureObject::FromBytes(testing_win::SolidBmp(40, 40, red))->Complete());
    testing_win::FileBytes brokenIcon = testing_win::SolidIconFile(1, 16, green);
    brokenIcon.resize(60);
    EXPECT_FALSE(PictureObject::FromBytes(brokenIcon));
}

TEST(PictureObject, FilesAreReadWhole) {
    testing_win::TempDirectory directory;
    const std::wstring path = directory.path() + L"\\图.jpg";  // the content decides, not the name
    const testing_win::FileBytes bytes = testing_win::SolidBmp(7, 6, red);
    {
        ui::KernelHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file);
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                              nullptr));
    }
    const auto picture = PictureObject::FromFile(path);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->GetKind(), Kind::Bmp);
    EXPECT_EQ(picture->Width(), 7);
    EXPECT_FALSE(PictureObject::FromFile(directory.path() + L"\\missing"));
    EXPECT_FALSE(PictureObject::FromFile(L""));
}

TEST(PictureObject, DamagedFilesGiveNothingOrSomethingDrawable) {
    const std::vector<testing_win::FileBytes> files{
        testing_win::Bmp24(6, 5, Quarters),
        testing_win::ThreeAlphaPng(),
        testing_win::Gif(4, 4, {red, green}, {{std::vector<std::uint8_t>(16, 1), 3}}),
        testing_win::Pcx8(5, 3, {red, blue}, std::vector<std::uint8_t>(15, 1)),
        testing_win::Pcx1(12, 3, black, white, [](int x, int y) { return (x + y) % 2 == 0; }),
        testing_win::SolidIconFile(1, 16, green),
        testing_win::SolidIconFile(2, 32, blue),
    };
    Canvas canvas(40, 40, grey);
    std::uint32_t state = 12345;
    const auto next = [&state] { return (state = state * 1103515245u + 12345u) >> 8; };
    for (const testing_win::FileBytes& file : files) {
        for (std::size_t cut = 0; cut < file.size(); cut += 1 + file.size() / 40) {
            const testing_win::FileBytes shorter(file.begin(),
                                                 file.begin() + static_cast<std::ptrdiff_t>(cut));
            if (const auto picture = PictureObject::FromBytes(shorter)) {
                picture::RenderPicture(canvas.dc(), *picture, 0, 0, 40, 40);
            }
        }
        for (int round = 0; round < 200; ++round) {
            testing_win::FileBytes damaged = file;
            for (int i = 0; i < 3; ++i) {
                damaged[8 + next() % (damaged.size() - 8)] = static_cast<std::uint8_t>(next());
            }
            if (const auto picture = PictureObject::FromBytes(damaged)) {
                EXPECT_GT(picture->Width(), 0);
                EXPECT_GT(picture->Height(), 0);
                picture::RenderPicture(canvas.dc(), *picture, 0, 0, 40, 40);
            }
        }
    }
}

// ---- handles --------------------------------------------------------------------------------

TEST(PictureTable, HandsOutHandlesThatFindTheirPictureUntilFreed) {
    const std::size_t before = Pictures().Count();
    const int first = Pictures().Load(testing_win::SolidBmp(3, 2, red));
    const int second = Pictures().Load(testing_win::SolidBmp(4, 5, red));
    ASSERT_NE(first, 0);
    ASSERT_NE(second, 0);
    EXPECT_NE(first, second);
    ASSERT_NE(Pictures().Find(second), nullptr);
    EXPECT_EQ(Pictures().Find(second)->Width(), 4);
    EXPECT_EQ(Pictures().Count(), before + 2);

    Pictures().Free(first);
    EXPECT_EQ(Pictures().Find(first), nullptr);
    const int third = Pictures().Load(testing_win::SolidBmp(1, 1, red));
    EXPECT_NE(third, first);  // a stale handle does not name a newer picture
    Pictures().Free(second);
    Pictures().Free(third);
    Pictures().Free(third);  // twice does nothing
    EXPECT_EQ(Pictures().Count(), before);
}

TEST(PictureTable, NothingGivesHandleZeroAndZeroFindsNothing) {
    EXPECT_EQ(Pictures().Load({}), 0);
    const testing_win::FileBytes junk(100, 0x55);
    EXPECT_EQ(Pictures().Load(junk), 0);
    EXPECT_EQ(Pictures().LoadFile(L"Z:\\no\\such\\picture"), 0);
    EXPECT_EQ(Pictures().Find(0), nullptr);
    EXPECT_EQ(Pictures().Find(-5), nullptr);
    Pictures().Free(0);
}

TEST(PictureTable, AScopedPictureIsFreedAtTheEndOfItsScope) {
    int handle = 0;
    {
        const picture::ScopedPicture scoped(Pictures(), Pictures().Load(testing_win::SolidBmp(2, 2, red)));
        handle = scoped.get();
        EXPECT_NE(Pictures().Find(handle), nullptr);
    }
    EXPECT_EQ(Pictures().Find(handle), nullptr);
}

// ---- rendering ------------------------------------------------------------------------------

TEST(RenderPicture, ABmpLandsUprightInItsOwnColoursAtItsNaturalSize) {
    const auto bmp = Load(testing_win::Bmp24(2, 2, Quarters));
    ASSERT_TRUE(bmp);
    Canvas canvas(10, 10, grey);
    ASSERT_TRUE(canvas.Valid());
    picture::RenderPicture(canvas.dc(), *bmp, 3, 4);
    EXPECT_EQ(canvas.Pixel(3, 4), red);
    EXPECT_EQ(canvas.Pixel(4, 4), green);
    EXPECT_EQ(canvas.Pixel(3, 5), blue);
    EXPECT_EQ(canvas.Pixel(4, 5), yellow);
    EXPECT_EQ(canvas.Pixel(2, 4), grey);
    EXPECT_EQ(canvas.Pixel(5, 5), grey);
    EXPECT_EQ(canvas.Pixel(3, 6), grey);
}

TEST(RenderPicture, AGivenSizeStretchesThePicture) {
    // Four red columns and four blue ones, so that smoothing only touches the middle.
    const auto bmp =
        Load(testing_win::Bmp24(8, 1, [](int x, int) { return x < 4 ? red : blue; }));
    ASSERT_TRUE(bmp);
    Canvas canvas(60, 30, grey);
    picture::RenderPicture(canvas.dc(), *bmp, 10, 5, 40, 20);
    EXPECT_EQ(canvas.Pixel(10, 5), red);
    EXPECT_EQ(canvas.Pixel(22, 24), red);
    EXPECT_EQ(canvas.Pixel(38, 5), blue);
    EXPECT_EQ(canvas.Pixel(49, 24), blue);
    EXPECT_EQ(canvas.Pixel(9, 10), grey);
    EXPECT_EQ(canvas.Pixel(50, 10), grey);
    EXPECT_EQ(canvas.Pixel(30, 4), grey);
    EXPECT_EQ(canvas.Pixel(30, 25), grey);
}

TEST(RenderPicture, TheRasterOperationIsApplied) {
    const auto bmp = Load(testing_win::SolidBmp(2, 2, red));
    ASSERT_TRUE(bmp);
    Canvas canvas(4, 4, grey);
    picture::RenderPicture(canvas.dc(), *bmp, 0, 0, -1, -1, NOTSRCCOPY);
    EXPECT_EQ(canvas.Pixel(1, 1), RGB(0, 255, 255));
    canvas.Fill(RGB(0, 255, 255));
    picture::RenderPicture(canvas.dc(), *bmp, 0, 0, -1, -1, SRCPAINT);
    EXPECT_EQ(canvas.Pixel(1, 1), white);
    EXPECT_EQ(canvas.Pixel(2, 2), RGB(0, 255, 255));
}

TEST(RenderPicture, PngAlphaIsLaidOverWhiteOrTheGivenBackground) {
    const auto png = Load(testing_win::ThreeAlphaPng());
    ASSERT_TRUE(png);
    Canvas canvas(3, 1, grey);
    picture::RenderPicture(canvas.dc(), *png, 0, 0);
    EXPECT_EQ(canvas.Pixel(0, 0), white);               // alpha 0
    EXPECT_EQ(canvas.Pixel(1, 0), blue);                // alpha 255
    EXPECT_EQ(canvas.Pixel(2, 0), RGB(126, 255, 126));  // alpha 128, truncated
    picture::RenderPicture(canvas.dc(), *png, 0, 0, -1, -1, SRCCOPY, black);
    EXPECT_EQ(canvas.Pixel(0, 0), black);
    EXPECT_EQ(canvas.Pixel(1, 0), blue);
    EXPECT_EQ(canvas.Pixel(2, 0), RGB(0, 128, 0));
}

TEST(RenderPicture, GifAndPcxPalettesGiveTheirColours) {
    const std::vector<COLORREF> palette{black, red, green, blue};
    const auto gif = Load(testing_win::Gif(2, 2, palette, {{{1, 2, 3, 0}}}));
    ASSERT_TRUE(gif);
    Canvas canvas(2, 2, grey);
    picture::RenderPicture(canvas.dc(), *gif, 0, 0);
    EXPECT_EQ(canvas.Pixel(0, 0), red);
    EXPECT_EQ(canvas.Pixel(1, 0), green);
    EXPECT_EQ(canvas.Pixel(0, 1), blue);
    EXPECT_EQ(canvas.Pixel(1, 1), black);

    const auto pcx = Load(testing_win::Pcx8(2, 2, palette, {3, 0, 2, 1}));
    ASSERT_TRUE(pcx);
    picture::RenderPicture(canvas.dc(), *pcx, 0, 0);
    EXPECT_EQ(canvas.Pixel(0, 0), blue);
    EXPECT_EQ(canvas.Pixel(1, 0), black);
    EXPECT_EQ(canvas.Pixel(0, 1), green);
    EXPECT_EQ(canvas.Pixel(1, 1), red);
}

TEST(RenderPicture, OneBitPicturesKeepTheirOwnTwoColoursWhateverTheDcColours) {
    const auto mono =
        Load(testing_win::Pcx1(10, 2, blue, yellow, [](int x, int) { return x < 5; }));
    ASSERT_TRUE(mono);
    Canvas canvas(10, 2, grey);
    // The printer draws pictures with white text and background colours.
    SetTextColor(canvas.dc(), white);
    SetBkColor(canvas.dc(), white);
    picture::RenderPicture(canvas.dc(), *mono, 0, 0);
    EXPECT_EQ(canvas.Pixel(0, 0), yellow);
    EXPECT_EQ(canvas.Pixel(4, 1), yellow);
    EXPECT_EQ(canvas.Pixel(5, 0), blue);
    EXPECT_EQ(canvas.Pixel(9, 1), blue);
}

TEST(RenderPicture, IconsAreDrawnAtTheirSizeOrTheGivenOne) {
    const auto icon = Load(testing_win::SolidIconFile(1, 16, green));
    ASSERT_TRUE(icon);
    Canvas canvas(48, 48, grey);
    picture::RenderPicture(canvas.dc(), *icon, 4, 4);
    EXPECT_EQ(canvas.Pixel(4, 4), green);
    EXPECT_EQ(canvas.Pixel(19, 19), green);
    EXPECT_EQ(canvas.Pixel(20, 20), grey);
    EXPECT_EQ(canvas.Pixel(3, 3), grey);
    picture::RenderPicture(canvas.dc(), *icon, 0, 0, 40, 40);
    EXPECT_EQ(canvas.Pixel(38, 38), green);
    EXPECT_EQ(canvas.Pixel(41, 41), grey);
}

TEST(RenderPicture, PixelsThatDoNotAddUpDrawNothing) {
    Canvas canvas(4, 4, grey);
    picture::RenderImage(canvas.dc(), picture::Image{}, Kind::Bmp, 0, 0);
    picture::Image shortImage;
    shortImage.width = 4;
    shortImage.height = 4;
    shortImage.pixels.assign(10, 0);
    picture::RenderImage(canvas.dc(), shortImage, Kind::Bmp, 0, 0);
    picture::RenderImage(nullptr, shortImage, Kind::Bmp, 0, 0);
    EXPECT_EQ(canvas.Pixel(0, 0), grey);
}

// ---- pictures of a page ----------------------------------------------------------------------

// A picture file on a page is drawn as the pixels prepared for its place, one device pixel
// each; a file that does not decode draws nothing.
TEST(FilePagePicture, DrawsThePixelsPreparedForItsPlace) {
    const auto file = std::make_shared<const testing_win::FileBytes>(
        testing_win::Bmp24(90, 60, [](int x, int y) { return RGB(x * 2, y * 4, x * y % 256); }));
    const auto cache = std::make_shared<picture::PlacedPixelsCache>();
    device::PictureItem item;
    item.quarterTurns = 1;
    item.crop = {5, 10, 40, 60};  // of the turned picture, 60 × 90
    const RECT to{10, 10, 30, 40};
    Canvas canvas(50, 50, white);
    const picture::FilePagePicture drawn(file, Kind::Bmp, 90, 60, cache);
    ASSERT_EQ(drawn.BandCount(canvas.dc(), item, to), 1);
    drawn.DrawBand(canvas.dc(), item, to, SRCCOPY, 0);
    const auto expected = picture::PixelsForPlace(*file, Kind::Bmp, 90, 60, 1, item.crop, 20, 30);
    ASSERT_EQ(expected.value().width * expected->height, 20 * 30);
    int wrong = canvas.Pixel(30, 20) != white;
    for (int at = 0; at < 20 * 30; ++at) {
        const std::uint8_t* bgr = expected->Row(at / 20) + 3 * (at % 20);
        wrong += canvas.Pixel(10 + at % 20, 10 + at / 20) != RGB(bgr[2], bgr[1], bgr[0]);
    }
    EXPECT_EQ(wrong, 0);

    canvas.Fill(white);
    const picture::FilePagePicture broken(
        std::make_shared<const testing_win::FileBytes>(100, 0xFF), Kind::Jpeg, 90, 60, cache);
    broken.DrawBand(canvas.dc(), item, to, SRCCOPY, 0);
    EXPECT_EQ(canvas.Pixel(20, 20), white);
}

}  // namespace
