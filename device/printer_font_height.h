// The printer font's height in each drawing unit; points to screen heights are ui/font_height.h.
#pragma once

#include "ui/font_height.h"

namespace device {

enum class DrawingUnit {
    DevicePixel = 0,
    TenthMillimetre = 1,
    HundredthMillimetre = 2,
    HundredthInch = 3,
    ThousandthInch = 4,
    Twip = 5,
};

// The height of the font made for the printer: the screen font height back in points (not
// rounded), then in the drawing unit, truncated towards zero. printerDpi is only used for
// device pixels. 14 points at 96 dpi in 0.1 mm gives -50.
int PrinterFontHeight(int fontHeight, int displayDpi, DrawingUnit unit, int printerDpi);

}  // namespace device
