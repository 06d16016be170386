// Draw panels: pictures drawn and pixels copied in drawing units, and what a repaint keeps.
#include <gtest/gtest.h>

#include <array>

#include "picture/draw_panel_win.h"
#include "picture/picture_box_painter_win.h"
#include "picture_files.h"
#include "test_support.h"
#include "ui/window_win.h"

namespace {

constexpr COLORREF red = RGB(255, 0, 0);
constexpr COLORREF green = RGB(0, 255, 0);
constexpr COLORREF blue = RGB(0, 0, 255);
enum : int { sourceId = 1, targetId };

constexpr ui::PictureBoxSpec panelSettings{ui::PictureMode::tiled, blue, false};
constexpr std::array panels{
    ui::ControlSpec{sourceId, "画板1", ui::Kind::PictureBox, "", {0, 0, 40, 40}, ui::windowItself,
                    ui::noFlags, {}, panelSettings},
    ui::ControlSpec{targetId, "画板2", ui::Kind::PictureBox, "", {50, 0, 40, 40}, ui::windowItself,
                    ui::noFlags, {}, panelSettings},
};
const ui::WindowSpec panelWindow{"MozhouDrawPanelTest", "", 200, 120, ui::fixedBorder, panels, {}, {}};

COLORREF PixelOf(HWND panel, int x, int y) {
    ui::WindowDc dc(panel);
    return GetPixel(dc.get(), x, y);
}

class DrawPanel : public ::testing::Test {
protected:
    void SetUp() override {
        window_ = ui::Window::Create(panelWindow, SW_SHOWNOACTIVATE, nullptr, &picture::PicturePainter());
        ASSERT_TRUE(window_);
        SetWindowPos(window_->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        UpdateWindow(window_->Handle());
    }
    void TearDown() override { window_.reset(); }
    std::unique_ptr<ui::Window> window_;
};

TEST_F(DrawPanel, APictureSizeIsInTheDrawingUnitAndADrawingGoesAtTheNextRepaint) {
    picture::DrawPanel source(window_->Control(sourceId));
    const auto picture = picture::PictureObject::FromBytes(testing_win::SolidBmp(384, 240, red));
    ASSERT_TRUE(picture);
    EXPECT_EQ(source.GetPictureWidth(&*picture), 384);
    source.unit = device::DrawingUnit::TenthMillimetre;
    EXPECT_NEAR(source.GetPictureWidth(&*picture), 384 * 254 / ui::ScreenDpi(), 2);
    source.unit = device::DrawingUnit::DevicePixel;

    source.DrawPicture(&*picture, 0, 0, 10, 10);
    EXPECT_EQ(PixelOf(source.Handle(), 5, 5), red);
    source.Clear();
    EXPECT_EQ(PixelOf(source.Handle(), 5, 5), blue);

    source.SetAutoRedraw(true);
    source.DrawPicture(&*picture, 0, 0, 10, 10);
    RedrawWindow(source.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(PixelOf(source.Handle(), 5, 5), red);
}

TEST_F(DrawPanel, ACopyOfOnePixelMovesExactlyThatPixelWhenItTouchesTheClientArea) {
    picture::DrawPanel source(window_->Control(sourceId));
    picture::DrawPanel target(window_->Control(targetId));
    const auto picture = picture::PictureObject::FromBytes(
        testing_win::Bmp24(4, 4, [](int x, int y) { return x == 3 && y == 1 ? green : red; }));
    source.DrawPicture(&*picture, 0, 0);
    source.CopyTo(target, 3, 1, 1, 1, 1, 3);
    EXPECT_EQ(PixelOf(target.Handle(), 1, 3), green);
    EXPECT_EQ(PixelOf(target.Handle(), 3, 1), blue);
    EXPECT_EQ(PixelOf(target.Handle(), 1, 2), blue);
    source.CopyTo(target, -5, 0, 4, 4, 20, 20);  // ends before the client area
    EXPECT_EQ(PixelOf(target.Handle(), 20, 20), blue);
}

// Read back in one go, whole where the panel is smaller: the icon over the panel's background.
TEST_F(DrawPanel, GivesAnIconsPixelsAsItShowsThemAllAtOnce) {
    picture::DrawPanel source(window_->Control(sourceId));
    const auto icon = picture::PictureObject::FromBytes(testing_win::SolidIconFile(1, 64, green));
    ASSERT_TRUE(icon);
    const auto pixels = source.PictureAsShown(&*icon);
    ASSERT_TRUE(pixels && pixels->width == 64 && pixels->height == 64);
    for (const std::uint8_t* p : {pixels->Row(0), pixels->Row(63) + 63 * 3}) EXPECT_EQ(RGB(p[2], p[1], p[0]), green);
    EXPECT_FALSE(source.PictureAsShown(nullptr));
}

}  // namespace
