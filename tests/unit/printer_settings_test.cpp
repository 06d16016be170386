#include "device/printer_settings.h"

#include <gtest/gtest.h>

namespace device {
namespace {

TEST(PrinterSettings, ValuesOutsideTheirRangeAreClampedToTheNearerBound) {
    PrinterSettings settings;
    settings.SetUnit(9);
    EXPECT_EQ(settings.Unit(), DrawingUnit::Twip);
    settings.SetUnit(-3);
    EXPECT_EQ(settings.Unit(), DrawingUnit::DevicePixel);
    settings.SetCopies(-7);
    EXPECT_EQ(settings.Copies(), -1);
    settings.SetCopies(70000);
    EXPECT_EQ(settings.Copies(), 65535);
    settings.SetFromPage(0);
    EXPECT_EQ(settings.FromPage(), 1);
    settings.SetSelection(5);
    EXPECT_EQ(settings.Selection(), 1);
}

TEST(PrinterSettings, StartValuesOfThisProgram) {
    const PrinterSettings settings;
    EXPECT_EQ(settings.Unit(), DrawingUnit::TenthMillimetre);
    EXPECT_EQ(settings.Copies(), 1);
    EXPECT_TRUE(settings.collate);
    EXPECT_EQ(settings.textBackground, transparentColour);
    EXPECT_EQ(settings.FirstPageNumber(), 1);
    // Without a minimum page the dialog offers no page range at all.
    EXPECT_FALSE(PageRangeForDialog(settings).has_value());
}

TEST(PrinterSettings, DialogPageRangeIsClampedInsideMinimumAndMaximum) {
    PrinterSettings settings;
    settings.SetMinPage(3);
    settings.SetFromPage(1);
    auto range = PageRangeForDialog(settings);
    ASSERT_TRUE(range.has_value());
    EXPECT_EQ(range->minPage, 3);
    EXPECT_EQ(range->maxPage, 65535);  // an unset maximum
    EXPECT_EQ(range->fromPage, 3);
    EXPECT_EQ(range->toPage, 0);  // no end page

    settings.SetMaxPage(10);
    settings.SetFromPage(8);
    settings.SetToPage(4);
    range = PageRangeForDialog(settings);
    EXPECT_EQ(range->fromPage, 8);
    EXPECT_EQ(range->toPage, 8);  // never before the first page
}

TEST(PrinterSettings, ReadBackKeepsTheChosenRangeOrClearsIt) {
    PrinterSettings settings;
    settings.SetMinPage(1);
    settings.SetMaxPage(20);
    settings.ReadBackPageRange(25, 30);
    EXPECT_EQ(settings.FromPage(), 20);
    EXPECT_EQ(settings.ToPage(), 20);
    settings.ReadBackPageRange(std::nullopt, std::nullopt);
    EXPECT_EQ(settings.FromPage(), -1);
    EXPECT_EQ(settings.ToPage(), -1);
    EXPECT_EQ(settings.FirstPageNumber(), 1);
}

TEST(PaperCodes, MapToWindowsPaperNumbers) {
    EXPECT_FALSE(PaperNumberForCode(0).has_value());
    EXPECT_FALSE(PaperNumberForCode(userDefinedPaperCode).has_value());
    EXPECT_EQ(PaperNumberForCode(1), 8);    // A3
    EXPECT_EQ(PaperNumberForCode(2), 9);    // A4
    EXPECT_EQ(PaperNumberForCode(7), 93);   // 16K
    EXPECT_EQ(PaperNumberForCode(9), 1);    // Letter
    EXPECT_EQ(PaperNumberForCode(16), 14);  // Folio
    EXPECT_EQ(PaperNumberForCode(17), 0);
    EXPECT_EQ(PaperNumberForCode(999), 0);
    EXPECT_EQ(PaperNumberForCode(1000), 1);
    EXPECT_EQ(PaperNumberForCode(1008), 9);
}

TEST(PaperCodes, OnlyOneMeansLandscape) {
    EXPECT_EQ(OrientationForCode(1), 2);
    EXPECT_EQ(OrientationForCode(0), 1);
    EXPECT_EQ(OrientationForCode(2), 1);
    EXPECT_EQ(OrientationForCode(-1), 1);
}

TEST(PageMetrics, UnprintableStripsAndSizeInsideMargins) {
    // A4 at 600 dpi with quarter-inch margins all round.
    const PageMetrics page{4960, 7016, 150, 150, 4660, 6716};
    EXPECT_EQ(page.RightStrip(), 150);
    EXPECT_EQ(page.BottomStrip(), 150);
    EXPECT_EQ(page.UsableWidth(), 4660);
    EXPECT_EQ(page.UsableHeight(), 6716);
    // A device reporting more than its paper has no negative strip.
    const PageMetrics odd{100, 100, 10, 10, 95, 95};
    EXPECT_EQ(odd.RightStrip(), 0);
    EXPECT_EQ(odd.UsableWidth(), 90);

    EXPECT_EQ(LengthInsideMargins(2000, 100, 50), 1850);
    EXPECT_EQ(LengthInsideMargins(100, 80, 80), 0);
}

}  // namespace
}  // namespace device
