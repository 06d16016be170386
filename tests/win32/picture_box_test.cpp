// Picture boxes: where each display mode puts the picture, the background colour, the drawing
// kept between repaints, and GIF animation. The box's pixels are read through WM_PRINTCLIENT.
#include <gtest/gtest.h>

#include <array>
#include <memory>

#include "app/main_window_description.h"
#include "picture/decoded_picture_win.h"
#include "picture/picture_box_painter_win.h"
#include "picture_files.h"
#include "test_support.h"
#include "ui/window_win.h"

namespace {

using testing_win::Canvas;
using ui::PictureMode;

constexpr COLORREF red = RGB(255, 0, 0);
constexpr COLORREF green = RGB(0, 255, 0);
constexpr COLORREF blue = RGB(0, 0, 255);
constexpr COLORREF white = RGB(255, 255, 255);
constexpr int boxId = 1;
constexpr int boxSize = 400;

constexpr std::array boxControls{
    ui::ControlSpec{boxId, "box", ui::Kind::PictureBox, "", {0, 0, boxSize, boxSize},
                    ui::windowItself, ui::noFlags, {}, {PictureMode::fit, blue, false}},
};

const ui::WindowSpec& BoxWindowSpec() {
    static const ui::WindowSpec description{"MozhouPictureBoxTest", "", 500, 500, ui::fixedBorder,
                                            boxControls, {}, {}};
    return description;
}

class PictureBox : public ::testing::Test {
protected:

    void SetUp() override {
        window_ = ui::Window::Create(BoxWindowSpec(), SW_HIDE, nullptr, &picture::PicturePainter());
        ASSERT_TRUE(window_);
        ASSERT_NE(Box(), nullptr);
    }

    HWND Box() const { return window_->Control(boxId); }

    void Show(const testing_win::FileBytes& bytes) {
        window_->SetPictureContent(boxId, picture::DecodedPicture::FromBytes(bytes));
    }

    // What the box paints, as a fresh canvas of its client size.
    std::unique_ptr<Canvas> Capture() const {
        RECT client;
        GetClientRect(Box(), &client);
        auto canvas = std::make_unique<Canvas>(client.right, client.bottom, RGB(1, 2, 3));
        SendMessageW(Box(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas->dc()), PRF_CLIENT);
        return canvas;
    }

    std::unique_ptr<ui::Window> window_;
};

TEST_F(PictureBox, FitScalesALargerPictureDownAndCentresIt) {
    Show(testing_win::SolidBmp(800, 600, red));
    const auto shown = Capture();
    // 400 × 300 at (0, 50)
    EXPECT_EQ(shown->Pixel(200, 49), blue);
    EXPECT_EQ(shown->Pixel(200, 50), red);
    EXPECT_EQ(shown->Pixel(0, 200), red);
    EXPECT_EQ(shown->Pixel(399, 200), red);
    EXPECT_EQ(shown->Pixel(200, 349), red);
    EXPECT_EQ(shown->Pixel(200, 350), blue);
    EXPECT_EQ(shown->Pixel(0, 0), blue);
}

TEST_F(PictureBox, FitCentresASmallerPictureAtItsOwnSize) {
    Show(testing_win::SolidBmp(100, 50, red));
    const auto shown = Capture();
    EXPECT_EQ(shown->Pixel(150, 175), red);
    EXPECT_EQ(shown->Pixel(249, 224), red);
    EXPECT_EQ(shown->Pixel(149, 175), blue);
    EXPECT_EQ(shown->Pixel(250, 224), blue);
    EXPECT_EQ(shown->Pixel(150, 174), blue);
    EXPECT_EQ(shown->Pixel(150, 225), blue);
}

TEST_F(PictureBox, NaturalSizeSitsAtTheTopLeftAndStretchFillsTheBox) {
    window_->SetPictureMode(boxId, PictureMode::natural);
    Show(testing_win::SolidBmp(100, 50, red));
    auto shown = Capture();
    EXPECT_EQ(shown->Pixel(0, 0), red);
    EXPECT_EQ(shown->Pixel(99, 49), red);
    EXPECT_EQ(shown->Pixel(100, 0), blue);
    EXPECT_EQ(shown->Pixel(0, 50), blue);

    window_->SetPictureMode(boxId, PictureMode::stretch);
    shown = Capture();
    EXPECT_EQ(shown->Pixel(0, 0), red);
    EXPECT_EQ(shown->Pixel(399, 399), red);
    EXPECT_EQ(window_->PictureSettings(boxId).mode, PictureMode::stretch);
}

TEST_F(PictureBox, ANewSizeIsDrawnAnew) {
    window_->SetPictureMode(boxId, PictureMode::stretch);
    Show(testing_win::SolidBmp(3, 3, red));
    Capture();
    SetWindowPos(Box(), nullptr, 0, 0, 200, 120, SWP_NOZORDER | SWP_NOACTIVATE);
    const auto shown = Capture();
    EXPECT_EQ(shown->Pixel(199, 119), red);
    EXPECT_EQ(shown->Pixel(0, 0), red);
}

TEST_F(PictureBox, NewBytesReplaceThePictureAndNoPictureLeavesTheBackground) {
    window_->SetPictureMode(boxId, PictureMode::stretch);
    Show(testing_win::SolidBmp(10, 10, red));
    EXPECT_EQ(Capture()->Pixel(5, 5), red);
    Show(testing_win::SolidBmp(10, 10, green));
    EXPECT_EQ(Capture()->Pixel(5, 5), green);

    const testing_win::FileBytes junk(64, 0x42);
    Show(junk);
    auto shown = Capture();
    EXPECT_EQ(shown->Pixel(5, 5), blue);
    EXPECT_EQ(shown->Pixel(399, 399), blue);

    Show({});
    EXPECT_EQ(Capture()->Pixel(200, 200), blue);
}

TEST_F(PictureBox, TheBackgroundColourCanChangeAndStandsForTheFaceColour) {
    Show(testing_win::SolidBmp(800, 600, red));
    window_->SetPictureBackground(boxId, green);
    EXPECT_EQ(Capture()->Pixel(200, 10), green);
    window_->SetPictureBackground(boxId, ui::systemFaceColor);
    EXPECT_EQ(Capture()->Pixel(200, 10), GetSysColor(COLOR_BTNFACE));
    Show({});
    EXPECT_EQ(Capture()->Pixel(200, 10), GetSysColor(COLOR_BTNFACE));
}

TEST_F(PictureBox, PngAlphaIsLaidOverTheBoxBackground) {
    window_->SetPictureMode(boxId, PictureMode::natural);
    Show(testing_win::ThreeAlphaPng());
    auto shown = Capture();
    EXPECT_EQ(shown->Pixel(0, 0), blue);  // alpha 0: the background
    EXPECT_EQ(shown->Pixel(1, 0), blue);  // opaque blue
    EXPECT_EQ(shown->Pixel(2, 0), RGB(0, 128, 126));

    window_->SetPictureBackground(boxId, white);
    shown = Capture();
    EXPECT_EQ(shown->Pixel(0, 0), white);
    EXPECT_EQ(shown->Pixel(2, 0), RGB(126, 255, 126));
}

TEST_F(PictureBox, RepaintingOnScreenKeepsThePicture) {
    ShowWindow(window_->Handle(), SW_SHOWNOACTIVATE);
    window_->SetPictureMode(boxId, PictureMode::stretch);
    Show(testing_win::SolidBmp(30, 20, red));
    for (int i = 0; i < 3; ++i) {
        InvalidateRect(Box(), nullptr, FALSE);
        UpdateWindow(Box());
        RECT update;
        EXPECT_FALSE(GetUpdateRect(Box(), &update, FALSE));
    }
    EXPECT_EQ(Capture()->Pixel(10, 10), red);
}

// A GIF of two frames, red then green, each shown for 50 ms.
testing_win::FileBytes RedGreenGif() {
    return testing_win::Gif(
        8, 8, {red, green},
        {{std::vector<std::uint8_t>(64, 0), 5}, {std::vector<std::uint8_t>(64, 1), 5}});
}

TEST_F(PictureBox, AnAnimatedGifShowsItsFramesInTurn) {
    window_->SetPictureMode(boxId, PictureMode::stretch);
    window_->SetPictureAnimation(boxId, true);
    Show(RedGreenGif());
    EXPECT_EQ(Capture()->Pixel(100, 100), red);
    EXPECT_TRUE(testing_win::PumpUntil([&] { return Capture()->Pixel(100, 100) == green; }));
    EXPECT_TRUE(testing_win::PumpUntil([&] { return Capture()->Pixel(100, 100) == red; }));
}

TEST_F(PictureBox, WithoutAnimationAGifShowsItsFirstFrame) {
    window_->SetPictureMode(boxId, PictureMode::stretch);
    Show(RedGreenGif());
    EXPECT_EQ(Capture()->Pixel(100, 100), red);
    EXPECT_FALSE(testing_win::PumpUntil([&] { return Capture()->Pixel(100, 100) != red; },
                                        std::chrono::milliseconds(400)));
}

TEST_F(PictureBox, TheAnimationStopsWithANewPictureAndWithTheBox) {
    window_->SetPictureMode(boxId, PictureMode::stretch);
    window_->SetPictureAnimation(boxId, true);
    Show(RedGreenGif());
    Capture();
    Show(testing_win::SolidBmp(4, 4, blue));
    EXPECT_FALSE(testing_win::PumpUntil([&] { return Capture()->Pixel(100, 100) != blue; },
                                        std::chrono::milliseconds(400)));

    Show(RedGreenGif());
    Capture();
    window_.reset();  // destroys the box while its frames are timed
    testing_win::PumpUntil([] { return false; }, std::chrono::milliseconds(200));
}

TEST(MainPictureBox, StretchesAndAnimatesOnTheFaceColour) {
    const ui::WindowSpec description{"MozhouMainPictureBoxTest", "", 400, 400, ui::fixedBorder,
                                     app::MainControls(), {}, {}};
    auto window = ui::Window::Create(description, SW_HIDE, nullptr, &picture::PicturePainter());
    ASSERT_TRUE(window);
    const ui::PictureBoxSpec settings = window->PictureSettings(app::pictureBox);
    EXPECT_EQ(settings.mode, PictureMode::stretch);
    EXPECT_TRUE(settings.animate);
    EXPECT_EQ(settings.background, ui::systemFaceColor);
}

TEST_F(PictureBox, TiledRepeatsThePictureFromTheCornerAndCutsTheLastRowAndColumn) {
    MoveWindow(Box(), 0, 0, 250, 120, FALSE);
    window_->SetPictureMode(boxId, PictureMode::tiled);
    // Red with a green bottom-right pixel: each tile's corner shows where it ends.
    Show(testing_win::Bmp24(100, 50, [](int x, int y) {
        return x == 99 && y == 49 ? green : red;
    }));
    const auto shown = Capture();
    for (const int x : {99, 199}) {
        for (const int y : {49, 99}) EXPECT_EQ(shown->Pixel(x, y), green) << x << "," << y;
    }
    EXPECT_EQ(shown->Pixel(200, 100), red);  // the third tile of the third row, cut at 50 × 20
    EXPECT_EQ(shown->Pixel(249, 119), red);
}

}  // namespace
