// The drawing units on a device context: the printer object and the draw panels measure in them.
#pragma once

#include <windows.h>

#include "device/printer_font_height.h"

namespace device {

// Sets the DC's mapping mode for the unit, with y growing downwards in every unit and both
// origins at the top-left corner.
void ApplyDrawingUnit(HDC dc, DrawingUnit unit);

// The raster operation of a copy mode: 1 SRCCOPY, 2 NOTSRCCOPY, 3 SRCINVERT, 4 SRCPAINT,
// 5 SRCAND, anything else SRCCOPY.
DWORD RasterOperationFor(int copyMode);

}  // namespace device
