// Pictures on the printer object: their size in drawing units and drawing them into a job on
// the test machine's default printer.
#include <gtest/gtest.h>

#include <cstdlib>

#include "device/printer_object_win.h"
#include "picture/picture_object_win.h"
#include "picture_files.h"

namespace {

using device::PrinterObject;
using testing_win::Pictures;
using picture::ScopedPicture;

constexpr int tenthsOfMillimetrePerInch = 254;

ScopedPicture DefaultSizedPicture() {
    return ScopedPicture(Pictures(), Pictures().Load(testing_win::SolidBmp(384, 240, RGB(200, 30, 30))));
}

TEST(PrinterPictures, WithoutAJobSizesArePixelsAndNothingIsDrawn) {
    const ScopedPicture picture = DefaultSizedPicture();
    ASSERT_NE(picture.get(), 0);
    PrinterObject printer;
    EXPECT_EQ(printer.GetPictureWidth(picture.Find()), 384);
    EXPECT_EQ(printer.GetPictureHeight(picture.Find()), 240);
    printer.DrawPicture(picture.Find(), 0, 0, std::nullopt, std::nullopt);
    EXPECT_FALSE(printer.JobRunning());
}

TEST(PrinterPictures, HandlesThatNameNoPictureMeasureZero) {
    PrinterObject printer;
    EXPECT_EQ(printer.GetPictureWidth(nullptr), 0);
    EXPECT_EQ(printer.GetPictureHeight(nullptr), 0);
    int freed = 0;
    {
        const ScopedPicture picture = DefaultSizedPicture();
        freed = picture.get();
    }
    EXPECT_EQ(printer.GetPictureWidth(Pictures().Find(freed)), 0);
    EXPECT_EQ(printer.GetPictureHeight(Pictures().Find(12345678)), 0);
}

TEST(PrinterPictures, DuringAJobOnePicturePixelIsOnePrinterDot) {
    const ScopedPicture picture = DefaultSizedPicture();
    PrinterObject printer;
    printer.documentName = L"win32-picture-size-test";
    ASSERT_TRUE(printer.StartPrinting(false, false));
    const int dotsPerInchX = GetDeviceCaps(printer.DeviceContext(), LOGPIXELSX);
    const int dotsPerInchY = GetDeviceCaps(printer.DeviceContext(), LOGPIXELSY);
    ASSERT_GT(dotsPerInchX, 0);
    // Drawing units are 0.1 mm: 384 dots at 600 dpi are 162.56.
    const int width = printer.GetPictureWidth(picture.Find());
    const int height = printer.GetPictureHeight(picture.Find());
    EXPECT_LE(std::abs(width - 384 * tenthsOfMillimetrePerInch / dotsPerInchX), 1) << width;
    EXPECT_LE(std::abs(height - 240 * tenthsOfMillimetrePerInch / dotsPerInchY), 1) << height;
    if (dotsPerInchX == 600) {
        EXPECT_GE(width, 162);
        EXPECT_LE(width, 163);
    }
    EXPECT_EQ(printer.GetPictureWidth(nullptr), 0);

    // Back in device pixels, the size is the picture's again.
    printer.Settings().SetUnit(0);
    EXPECT_EQ(printer.GetPictureWidth(picture.Find()), 384);
    EXPECT_EQ(printer.GetPictureHeight(picture.Find()), 240);
    printer.EndPrinting();
    EXPECT_EQ(printer.GetPictureWidth(picture.Find()), 384);
}

TEST(PrinterPictures, DrawingIntoAJobKeepsTheJobAndItsPage) {
    const ScopedPicture picture = DefaultSizedPicture();
    const ScopedPicture mono(Pictures(), Pictures().Load(testing_win::Pcx1(
        16, 16, RGB(0, 0, 0), RGB(255, 255, 255), [](int x, int) { return x < 8; })));
    const ScopedPicture icon(Pictures(), Pictures().Load(testing_win::SolidIconFile(1, 16, RGB(0, 200, 0))));
    ASSERT_NE(mono.get(), 0);
    ASSERT_NE(icon.get(), 0);
    PrinterObject printer;
    printer.documentName = L"win32-picture-draw-test";
    ASSERT_TRUE(printer.StartPrinting(false, false));
    printer.DrawPicture(picture.Find(), 100, 100, std::nullopt, std::nullopt);
    printer.DrawPicture(picture.Find(), 100, 400, 800, 500, 1);
    for (int copyMode = 0; copyMode <= 6; ++copyMode) {
        printer.DrawPicture(picture.Find(), 100 + copyMode * 10, 1200, 60, 40, copyMode);
    }
    printer.DrawPicture(mono.Find(), 1000, 100, 100, 100);
    printer.DrawPicture(icon.Find(), 1200, 100, std::nullopt, std::nullopt);
    printer.DrawPicture(nullptr, 0, 0, 10, 10);
    printer.DrawPicture(picture.Find(), 0, 0, -50, -50);
    EXPECT_TRUE(printer.JobRunning());
    EXPECT_EQ(printer.PageNumber(), 1);
    // Text still starts where it would have: pictures leave the text position alone.
    printer.PrintTextLines("after the pictures");
    EXPECT_EQ(printer.PageNumber(), 1);
    printer.EndPrinting();
    EXPECT_FALSE(printer.JobRunning());
}

}  // namespace
