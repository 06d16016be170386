#include "device/printer_font_height.h"

#include <array>
#include <cstdint>
#include <cstdlib>

namespace device {
namespace {

// Font height per point in each metric unit, negative for character height. The 0.1 mm factor
// is a little below 254 / 72 on purpose: printed text sizes depend on it.
constexpr std::array<double, 6> heightPerPoint = {
    0.0,  // device pixels: depends on the printer's resolution
    -3.5250987027636778,
    -35.250987027636775,
    -1.3888888888888888,
    -13.888888888888888,
    -20.0,
};

}  // namespace

int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const std::int64_t half = std::llabs(c) / 2;
    const bool negative = (product < 0) != (c < 0);
    const std::int64_t rounded = (std::llabs(product) + half) / std::llabs(c);
    return static_cast<int>(negative ? -rounded : rounded);
}

int FontHeightForSize(int points, int screenDpi) {
    const int size = points < 0 ? 0 : points;
    return -MulDiv(size, screenDpi, pointsPerInch);
}

int SizeForFontHeight(int fontHeight, int screenDpi) {
    return MulDiv(std::abs(fontHeight), pointsPerInch, screenDpi);
}

int PrinterFontHeight(int fontHeight, int displayDpi, DrawingUnit unit, int printerDpi) {
    if (displayDpi <= 0) return 0;
    const double points = std::abs(fontHeight) * static_cast<double>(pointsPerInch) / displayDpi;
    if (unit == DrawingUnit::DevicePixel) {
        return static_cast<int>(points * printerDpi * (-1.0 / pointsPerInch));
    }
    return static_cast<int>(points * heightPerPoint[static_cast<int>(unit)]);
}

}  // namespace device
