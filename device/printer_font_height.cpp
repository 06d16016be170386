#include "device/printer_font_height.h"

#include <array>
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

int PrinterFontHeight(int fontHeight, int displayDpi, DrawingUnit unit, int printerDpi) {
    if (displayDpi <= 0) return 0;
    const double points = std::abs(fontHeight) * static_cast<double>(ui::pointsPerInch) / displayDpi;
    if (unit == DrawingUnit::DevicePixel) {
        return static_cast<int>(points * printerDpi * (-1.0 / ui::pointsPerInch));
    }
    return static_cast<int>(points * heightPerPoint[static_cast<int>(unit)]);
}

}  // namespace device
