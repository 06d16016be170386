#include "device/drawing_unit_win.h"

#include <array>

namespace device {
namespace {

// Metric mapping modes of drawing units 1 to 5.
constexpr std::array<int, 6> metricModes = {MM_TEXT,      MM_LOMETRIC,  MM_HIMETRIC,
                                            MM_LOENGLISH, MM_HIENGLISH, MM_TWIPS};

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
    // The metric modes count y upwards; an anisotropic copy of one with its y extent turned
    // round counts downwards at the same scale.
    SetMapMode(dc, metricModes[static_cast<int>(unit)]);
    SetMapMode(dc, MM_ANISOTROPIC);
    SIZE extent;
    GetWindowExtEx(dc, &extent);
    SetWindowExtEx(dc, extent.cx, -extent.cy, nullptr);
    // Set again in so many device units, so that a metafile recording this scale replays it
    // on any device, not the metric scale of the device it is played on.
    GetViewportExtEx(dc, &extent);
    SetViewportExtEx(dc, extent.cx, extent.cy, nullptr);
    POINT origin;
    if (GetViewportOrgEx(dc, &origin) && (origin.x != 0 || origin.y != 0)) {
        SetViewportOrgEx(dc, 0, 0, nullptr);
    }
    if (GetWindowOrgEx(dc, &origin) && (origin.x != 0 || origin.y != 0)) {
        SetWindowOrgEx(dc, 0, 0, nullptr);
    }
}

}  // namespace device
