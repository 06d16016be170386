// Windows are described in pixels of a 96-dpi screen; these turn such lengths into the pixels of
// a screen of any resolution, and back.
#pragma once

#include <span>
#include <vector>

#include "ui/description.h"

namespace ui {

inline constexpr int designDpi = 96;

// A resolution that cannot be one (0 or less) counts as the design resolution.
int UsableDpi(int dpi);

// A length of the description at dpi, rounded half away from zero.
int ScaleToDpi(int length, int dpi);
// A length at dpi as the description would give it.
int ScaleFromDpi(int length, int dpi);

// The rectangle at dpi. Its edges are scaled, not its size, so that controls that touch at
// 96 dpi still touch and never overlap.
Rect ScaleRect(const Rect& rect, int dpi);

// A length at one resolution made a length at another, e.g. a control's rectangle or its font
// height when its window moves to a screen of another resolution. A length that was not 0
// never becomes 0, so a font height keeps its meaning.
int Rescale(int length, int fromDpi, int toDpi);
Rect RescaleRect(const Rect& rect, int fromDpi, int toDpi);

// A font height (LOGFONT lfHeight) at another resolution. A character height (negative) keeps
// its size in whole points, as the font was chosen: 14 points are 19 pixels at 96 dpi and 28,
// not 29, at 144 dpi.
int RescaleFontHeight(int height, int fromDpi, int toDpi);

// The right edges of a status bar's parts at dpi, from their widths in the description.
std::vector<int> StatusPartEdges(std::span<const int> widths, int dpi);

// Where a window of this outer size is centred on a screen of this size; never left of or
// above the screen.
Point CentredOrigin(int screenWidth, int screenHeight, int width, int height);

}  // namespace ui
