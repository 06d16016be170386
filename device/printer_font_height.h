// Font heights: points to a screen font height and back, and the printer font's height in each
// drawing unit.
#pragma once

namespace device {

enum class DrawingUnit {
    DevicePixel = 0,
    TenthMillimetre = 1,
    HundredthMillimetre = 2,
    HundredthInch = 3,
    ThousandthInch = 4,
    Twip = 5,
};

inline constexpr int pointsPerInch = 72;

// Windows' MulDiv: a × b / c rounded half away from zero; -1 when c is 0.
int MulDiv(int a, int b, int c);

// The font height (LOGFONT lfHeight, negative: character height) for a size in points on a
// screen of screenDpi pixels per inch. A negative size counts as 0.
int FontHeightForSize(int points, int screenDpi);

// The size in points that a font height reads back as: size 14 at 96 dpi reads back as 14.
int SizeForFontHeight(int fontHeight, int screenDpi);

// The height of the font made for the printer: the screen font height back in points (not
// rounded), then in the drawing unit, truncated towards zero. printerDpi is only used for
// device pixels. 14 points at 96 dpi in 0.1 mm gives -50.
int PrinterFontHeight(int fontHeight, int displayDpi, DrawingUnit unit, int printerDpi);

}  // namespace device
