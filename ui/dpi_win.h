// The resolution a window is shown at, and the fonts made for it.
#pragma once

#include <windows.h>

#include "ui/handles_win.h"

namespace ui {

// The screen's pixels per inch, vertically: the resolution of the stock fonts.
int ScreenDpi();

// The resolution of the screen a window is on. Where Windows cannot say (before Windows 10),
// the screen's.
int WindowDpi(HWND window);

// The system's default GUI font as tall as it should be at dpi; null where the stock font
// itself is, so that it is used as it stands.
Font GuiFontForDpi(int dpi);

// A font like the given one at another resolution, as large in points; null when it cannot be
// made.
Font RescaledFont(HFONT font, int fromDpi, int toDpi);

}  // namespace ui
