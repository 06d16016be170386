#include "ui/font_height.h"

#include <cstdint>
#include <cstdlib>

namespace ui {

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

}  // namespace ui
