#include <gtest/gtest.h>

#include <array>

#include "ui/dpi_scale.h"

namespace {

using ui::Rect;

TEST(DpiScale, MainWindowAtOneHundredAndFiftyPercent) {
    EXPECT_EQ(ui::ScaleToDpi(782, 144), 1173);
    EXPECT_EQ(ui::ScaleFromDpi(1173, 144), 782);
    EXPECT_EQ(ui::ScaleRect({0, 436, 782, 20}, 144), (Rect{0, 654, 1173, 30}));
    constexpr std::array parts{40, 740};
    EXPECT_EQ(ui::StatusPartEdges(parts, 144), (std::vector<int>{60, 1170}));
    EXPECT_EQ(ui::ScaleRect({8, 16, 360, 296}, 96), (Rect{8, 16, 360, 296}));
}

TEST(DpiScale, NeighboursStillTouchAfterRounding) {
    const Rect left = ui::ScaleRect({1, 0, 1, 1}, 144);
    const Rect right = ui::ScaleRect({2, 0, 1, 1}, 144);
    EXPECT_EQ(left.x + left.width, right.x);
}

TEST(DpiScale, ResolutionsThatCannotBeCountAsNinetySix) {
    EXPECT_EQ(ui::ScaleToDpi(50, 0), 50);
    EXPECT_EQ(ui::ScaleFromDpi(50, -120), 50);
}

TEST(DpiScale, RescalingKeepsFontHeightsAndNeverMakesThemZero) {
    EXPECT_EQ(ui::Rescale(-16, 96, 144), -24);
    EXPECT_EQ(ui::Rescale(-24, 144, 96), -16);
    EXPECT_EQ(ui::Rescale(1, 288, 96), 1);
    EXPECT_EQ(ui::Rescale(0, 96, 144), 0);
    EXPECT_EQ(ui::RescaleRect({10, 20, 30, 40}, 96, 120), (Rect{13, 25, 37, 50}));
    EXPECT_EQ(ui::RescaleFontHeight(-19, 96, 144), -28);  // 14 points, not 14.25 × 1.5
    EXPECT_EQ(ui::RescaleFontHeight(-1, 288, 96), -1);
    EXPECT_EQ(ui::RescaleFontHeight(20, 96, 144), 30);
}

TEST(DpiScale, CentredOnTheScreenButNeverOffItsTopLeft) {
    EXPECT_EQ(ui::CentredOrigin(1280, 1024, 1173, 759), (ui::Point{53, 132}));
    EXPECT_EQ(ui::CentredOrigin(1024, 768, 1248, 1266), (ui::Point{0, 0}));
}

}  // namespace
