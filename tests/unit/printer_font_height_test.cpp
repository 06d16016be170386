#include <gtest/gtest.h>

#include "device/printer_font_height.h"

namespace {

using device::DrawingUnit;
using device::PrinterFontHeight;

TEST(MulDiv, RoundsHalfAwayFromZero) {
    EXPECT_EQ(ui::MulDiv(14, 96, 72), 19);  // 18.67
    EXPECT_EQ(ui::MulDiv(3, 1, 2), 2);
    EXPECT_EQ(ui::MulDiv(-3, 1, 2), -2);
    EXPECT_EQ(ui::MulDiv(5, 1, 0), -1);
}

TEST(FontSize, FourteenPointsAtNinetySixDpiIsNineteenPixelsAndReadsBack) {
    EXPECT_EQ(ui::FontHeightForSize(14, 96), -19);
    EXPECT_EQ(ui::SizeForFontHeight(-19, 96), 14);
    EXPECT_EQ(ui::FontHeightForSize(-14, 96), 0);
}

TEST(PrinterFontHeight, IsFiveMillimetresForFourteenPointsInTenthsOfAMillimetre) {
    EXPECT_EQ(PrinterFontHeight(-19, 96, DrawingUnit::TenthMillimetre, 600), -50);
}

TEST(PrinterFontHeight, ScalesByTheUnitAndTruncatesTowardsZero) {
    // 19 pixels at 96 dpi are 14.25 points.
    EXPECT_EQ(PrinterFontHeight(-19, 96, DrawingUnit::HundredthMillimetre, 600), -502);
    EXPECT_EQ(PrinterFontHeight(-19, 96, DrawingUnit::HundredthInch, 600), -19);
    EXPECT_EQ(PrinterFontHeight(-19, 96, DrawingUnit::ThousandthInch, 600), -197);
    EXPECT_EQ(PrinterFontHeight(-19, 96, DrawingUnit::Twip, 600), -285);
}

TEST(PrinterFontHeight, UsesThePrinterResolutionForDevicePixels) {
    EXPECT_EQ(PrinterFontHeight(-19, 96, DrawingUnit::DevicePixel, 600), -118);
    EXPECT_EQ(PrinterFontHeight(-19, 96, DrawingUnit::DevicePixel, 300), -59);
}

}  // namespace
