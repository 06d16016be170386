#include "picture/box_display.h"

#include <gtest/gtest.h>

namespace {

using picture::FrameDelayMs;
using picture::Placement;
using picture::PlaceInBox;
using ui::PictureMode;

TEST(PlaceInBox, NaturalSizeSitsAtTheTopLeftCornerWhateverTheBox) {
    EXPECT_EQ(PlaceInBox(PictureMode::natural, 400, 400, 800, 600), (Placement{0, 0, 800, 600}));
    EXPECT_EQ(PlaceInBox(PictureMode::natural, 400, 400, 10, 20), (Placement{0, 0, 10, 20}));
}

TEST(PlaceInBox, StretchCoversTheWholeBox) {
    EXPECT_EQ(PlaceInBox(PictureMode::stretch, 360, 296, 6000, 4000), (Placement{0, 0, 360, 296}));
    EXPECT_EQ(PlaceInBox(PictureMode::stretch, 360, 296, 3, 2), (Placement{0, 0, 360, 296}));
}

TEST(PlaceInBox, FitCentresAPictureThatFitsAtItsOwnSize) {
    EXPECT_EQ(PlaceInBox(PictureMode::fit, 400, 400, 100, 50), (Placement{150, 175, 100, 50}));
    EXPECT_EQ(PlaceInBox(PictureMode::fit, 400, 400, 400, 400), (Placement{0, 0, 400, 400}));
    EXPECT_EQ(PlaceInBox(PictureMode::fit, 400, 400, 101, 51), (Placement{149, 174, 101, 51}));
}

TEST(PlaceInBox, FitScalesALargerPictureDownByTheSmallerRatio) {
    EXPECT_EQ(PlaceInBox(PictureMode::fit, 400, 400, 800, 600), (Placement{0, 50, 400, 300}));
    EXPECT_EQ(PlaceInBox(PictureMode::fit, 400, 400, 600, 800), (Placement{50, 0, 300, 400}));
    // Only one side too large still scales both.
    EXPECT_EQ(PlaceInBox(PictureMode::fit, 400, 400, 500, 100), (Placement{0, 160, 400, 80}));
}

TEST(PlaceInBox, FitTruncatesTheScaledSides) {
    // m = 360 / 7000: 4999 × m = 257.09 → 257, and the width is the box's exactly.
    EXPECT_EQ(PlaceInBox(PictureMode::fit, 360, 296, 7000, 4999), (Placement{0, 19, 360, 257}));
    // m = 360 / 5999, the smaller ratio: 3001 × m = 180.09 → 180.
    EXPECT_EQ(PlaceInBox(PictureMode::fit, 360, 296, 5999, 3001), (Placement{0, 58, 360, 180}));
}

TEST(PlaceInBox, FitOfAnEmptyBoxOrPictureDrawsNothing) {
    EXPECT_EQ(PlaceInBox(PictureMode::fit, 0, 400, 800, 600), (Placement{0, 0, 0, 0}));
    EXPECT_EQ(PlaceInBox(PictureMode::fit, 400, 400, 0, 600), (Placement{0, 0, 0, 0}));
}

TEST(FrameDelay, ShortDelaysCountAsATenthOfASecond) {
    EXPECT_EQ(FrameDelayMs(0), 100);
    EXPECT_EQ(FrameDelayMs(10), 100);
    EXPECT_EQ(FrameDelayMs(19), 100);
    EXPECT_EQ(FrameDelayMs(20), 20);
    EXPECT_EQ(FrameDelayMs(70), 70);
    EXPECT_EQ(FrameDelayMs(2000), 2000);
}

}  // namespace
