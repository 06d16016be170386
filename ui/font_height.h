// Font sizes in points and the font heights Windows wants for them.
#pragma once

namespace ui {

inline constexpr int pointsPerInch = 72;

// Windows' MulDiv: a × b / c rounded half away from zero; -1 when c is 0.
int MulDiv(int a, int b, int c);

// The font height (LOGFONT lfHeight, negative: character height) for a size in points on a
// screen of screenDpi pixels per inch. A negative size counts as 0.
int FontHeightForSize(int points, int screenDpi);

// The size in points that a font height reads back as: size 14 at 96 dpi reads back as 14.
int SizeForFontHeight(int fontHeight, int screenDpi);

}  // namespace ui
