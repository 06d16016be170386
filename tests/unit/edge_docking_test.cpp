#include <gtest/gtest.h>

#include "app/edge_docking.h"

namespace {

using app::Bounds;
using app::ScreenSize;
using app::Slide;

constexpr ScreenSize screen{1920, 1080};

Bounds Moved(Bounds b, const Slide& slide) {
    b.left += slide.dx * slide.steps;
    b.right += slide.dx * slide.steps;
    b.top += slide.dy * slide.steps;
    b.bottom += slide.dy * slide.steps;
    return b;
}

TEST(ClampToScreen, StopsAtTheLeftEdgeKeepingTheWidth) {
    EXPECT_EQ(app::ClampToScreen({-50, 100, 732, 606}, 782, 506, screen),
              (Bounds{0, 100, 782, 606}));
}

TEST(ClampToScreen, StopsAtTheBottomEdge) {
    EXPECT_EQ(app::ClampToScreen({100, 700, 882, 1206}, 782, 506, screen),
              (Bounds{100, 574, 882, 1080}));
}

TEST(ClampToScreen, AppliesTheRulesInOrderSoRightWinsOverLeft) {
    // Wider than the screen: the left rule puts it at 0, then the right rule moves it back.
    EXPECT_EQ(app::ClampToScreen({-10, 0, 2000, 100}, 2010, 100, screen),
              (Bounds{-90, 0, 1920, 100}));
}

TEST(ClampToScreen, LeavesAWindowInsideTheScreenAlone) {
    const Bounds inside{10, 10, 792, 516};
    EXPECT_EQ(app::ClampToScreen(inside, 782, 506, screen), inside);
}

TEST(DockingLimits, TakesTheTaskbarOffTheMaximumHeight) {
    const app::TrackingLimits bottomBar = app::DockingLimits(screen, 40);
    EXPECT_EQ(bottomBar.minWidth, 100);
    EXPECT_EQ(bottomBar.minHeight, 100);
    EXPECT_EQ(bottomBar.maxWidth, 1920);
    EXPECT_EQ(bottomBar.maxHeight, 1040);
    EXPECT_EQ(app::DockingLimits(screen, 1080).maxHeight, 0);  // a taskbar along a side
}

TEST(EdgeTouch, CountsLeftRightAndTopButNotBottom) {
    EXPECT_TRUE(app::TouchesEdge({0, 100, 782, 606}, screen));
    EXPECT_TRUE(app::TouchesEdge({1138, 100, 1920, 606}, screen));
    EXPECT_TRUE(app::TouchesEdge({100, 0, 882, 506}, screen));
    EXPECT_FALSE(app::TouchesEdge({100, 574, 882, 1080}, screen));
    EXPECT_TRUE(app::CursorInside({0, 0, 10, 10}, 10, 10));
    EXPECT_FALSE(app::CursorInside({0, 0, 10, 10}, 11, 5));
}

TEST(Slide, OutAtEachEdgeLeavesAOnePixelStrip) {
    EXPECT_EQ(Moved({0, 100, 782, 606}, app::PlanSlideOut({0, 100, 782, 606}, screen)).right, 1);
    EXPECT_EQ(Moved({1138, 100, 1920, 606}, app::PlanSlideOut({1138, 100, 1920, 606}, screen)).left,
              1919);
    EXPECT_EQ(Moved({100, 0, 882, 506}, app::PlanSlideOut({100, 0, 882, 506}, screen)).bottom, 1);
    EXPECT_FALSE(app::PlanSlideOut({10, 10, 792, 516}, screen).Moves());
}

TEST(Slide, InFromEachStripEndsAtTheEdge) {
    EXPECT_EQ(Moved({-781, 100, 1, 606}, app::PlanSlideIn({-781, 100, 1, 606}, screen)).left, 0);
    EXPECT_EQ(Moved({1919, 100, 2701, 606}, app::PlanSlideIn({1919, 100, 2701, 606}, screen)).right,
              1920);
    EXPECT_EQ(Moved({100, -505, 882, 1}, app::PlanSlideIn({100, -505, 882, 1}, screen)).top, 0);
    EXPECT_EQ(app::PlanSlideIn({-781, 100, 1, 606}, screen), (Slide{1, 0, 781}));
}

TEST(Slide, ACornerWindowGoesOutLeftThenUpAndComesBackRightThenDown) {
    Bounds window{0, 0, 782, 506};
    window = Moved(window, app::PlanSlideOut(window, screen));
    EXPECT_EQ(window, (Bounds{-781, 0, 1, 506}));
    window = Moved(window, app::PlanSlideOut(window, screen));  // a later tick
    EXPECT_EQ(window, (Bounds{-781, -505, 1, 1}));
    window = Moved(window, app::PlanSlideIn(window, screen));
    EXPECT_EQ(window, (Bounds{0, -505, 782, 1}));
    window = Moved(window, app::PlanSlideIn(window, screen));
    EXPECT_EQ(window, (Bounds{0, 0, 782, 506}));
}

}  // namespace
