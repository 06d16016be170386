#include "device/drawing_unit_win.h"

#include <array>

namespace device {
namespace {

// Drawing units 1 to 5, so many to the inch: 0.1 mm, 0.01 mm, 0.01 inch, 0.001 inch, 1/1440 inch.
constexpr std::array<int, 6> unitsPerInch = {0, 254, 2540, 100, 1000, 1440};

constexpr std::array<DWORD, 5> copyModeOperations = {SRCCOPY, NOTSRCCOPY, SRCINVERT, SRCPAINT,
                                                     SRCAND};

}  // namespace

DWORD RasterOperationFor(int copyMode) {
    if (copyMode < 1 || copyMode > static_cast<int>(copyModeOperations.size())) return SRCCOPY;
    return copyModeOperations[static_cast<std::size_t>(copyMode - 1)];
}

void ApplyDrawingUnit(HDC dc, DrawingUnit unit) {
    if (unit == DrawingUnit::DevicePixel) {
        SetMapMode(dc, MM_TEXT);
        return;
    }
    // Scaled by the device's own pixels per inch. The metric mapping modes scale by its size in
    // whole millimetres (HORZSIZE), which puts a picture asked at 100 mm half a millimetre off on
    // paper. The scale is set in so many device units, so that a metafile recording it replays
    // it on any device, not at the scale of the device it is played on.
    const int perInch = unitsPerInch[static_cast<int>(unit)];
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, perInch, perInch, nullptr);
    SetViewportExtEx(dc, GetDeviceCaps(dc, LOGPIXELSX), GetDeviceCaps(dc, LOGPIXELSY), nullptr);
    POINT origin;
    if (GetViewportOrgEx(dc, &origin) && (origin.x != 0 || origin.y != 0)) {
        SetViewportOrgEx(dc, 0, 0, nullptr);
    }
    if (GetWindowOrgEx(dc, &origin) && (origin.x != 0 || origin.y != 0)) {
        SetWindowOrgEx(dc, 0, 0, nullptr);
    }
}

}  // namespace device
