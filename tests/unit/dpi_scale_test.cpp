#include <gtest/gtest.h>

#include <array>

#include "ui/dpi_scale.h"

namespace {

using ui::Rect;

TEST(DpiScale, MainWindowAtOneHundredAndFiftyPercentAndBack) {
    EXPECT_EQ(ui::ScaleToDpi(782, 144), 1173);
    EXPECT_EQ(ui::ScaleFromDpi(1173, 144), 782);
    EXPECT_EQ(ui::ScaleRect({0, 436, 782, 20}, 144), (Rect{0, 654, 1173, 30}));
    constexpr std::array parts{40, 740};
    EXPECT_EQ(ui::StatusPartEdges(parts, 144), (std::vector<int>{60, 1170}));
    EXPECT_EQ(ui::ScaleToDpi(50, 0), 50);  // no resolution counts as 96 dpi
}

TEST(DpiScale, NeighboursStillTouchAfterRounding) {
    const Rect left = ui::ScaleRect({1, 0, 1, 1}, 144);
    EXPECT_EQ(left.x + left.width, ui::ScaleRect({2, 0, 1, 1}, 144).x);
}

TEST(DpiScale, RescalingKeepsFontsInWholePointsAndLengthsNeverBecomeZero) {
    EXPECT_EQ(ui::RescaleFontHeight(-19, 96, 144), -28);  // 14 points, not 14.25 × 1.5
    EXPECT_EQ(ui::RescaleFontHeight(20, 96, 144), 30);
    EXPECT_EQ(ui::Rescale(1, 288, 96), 1);
    EXPECT_EQ(ui::RescaleRect({10, 20, 30, 40}, 96, 120), (Rect{13, 25, 37, 50}));
}

}  // namespace
