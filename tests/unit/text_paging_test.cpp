#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "device/page_plan.h"

namespace {

using device::LinePlacer;

TEST(StartsNewPage, OnlyWhenTheLineWouldEndBelowThePage) {
    EXPECT_FALSE(device::StartsNewPage(900, 100, 1000));  // ends exactly at the bottom
    EXPECT_TRUE(device::StartsNewPage(901, 100, 1000));
}

TEST(StartsNewPage, NeverForTheFirstLineOfAPage) {
    EXPECT_FALSE(device::StartsNewPage(0, 5000, 1000));
}

// Drawing units of 0.1 mm on a 254-dpi device: one unit is one pixel.
const device::UnitScale sameAsPixels{[](int y) { return y; }, [](int y) { return y; }};
// 0.1 mm on a 127-dpi device: two units a pixel, rounding down.
const device::UnitScale twoUnitsAPixel{[](int y) { return y / 2; },
                                           [](int y) { return y * 2; }};

TEST(LinePlacer, StacksLinesWithATwoPixelGap) {
    LinePlacer placer(0, 1000, sameAsPixels);
    EXPECT_EQ(placer.Place(50).top, 0);
    EXPECT_EQ(placer.Place(50).top, 52);
    EXPECT_EQ(placer.Top(), 104);
}

TEST(LinePlacer, AddsTheGapInDevicePixelsWhateverTheUnit) {
    LinePlacer placer(0, 1000, twoUnitsAPixel);
    placer.Place(50);
    EXPECT_EQ(placer.Top(), 54);  // 50 units = 25 pixels, + 2 pixels = 54 units
    placer.Place(51);
    EXPECT_EQ(placer.Top(), 108);  // 105 units round down to 52 pixels
}

TEST(LinePlacer, MovesALineThatDoesNotFitToTheTopOfANewPage) {
    LinePlacer placer(940, 1000, sameAsPixels);
    const device::LinePlacement moved = placer.Place(61);
    EXPECT_TRUE(moved.onNewPage);
    EXPECT_EQ(moved.top, 0);
    EXPECT_EQ(placer.Top(), 63);
}

TEST(LinePlacer, KeepsALineEndingAtTheBottomOnItsPage) {
    LinePlacer placer(940, 1000, sameAsPixels);
    const device::LinePlacement kept = placer.Place(60);
    EXPECT_FALSE(kept.onNewPage);
    EXPECT_EQ(kept.top, 940);
}

TEST(LinePlacer, PrintsALineTallerThanThePageOnItsOwnPage) {
    LinePlacer placer(0, 1000, sameAsPixels);
    EXPECT_FALSE(placer.Place(1500).onNewPage);
    const device::LinePlacement next = placer.Place(10);
    EXPECT_TRUE(next.onNewPage);
    EXPECT_EQ(next.top, 0);
}

}  // namespace
