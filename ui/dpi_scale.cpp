#include "ui/dpi_scale.h"

#include <algorithm>

#include "ui/font_height.h"

namespace ui {

int UsableDpi(int dpi) { return dpi > 0 ? dpi : designDpi; }

int ScaleToDpi(int length, int dpi) { return MulDiv(length, UsableDpi(dpi), designDpi); }

int ScaleFromDpi(int length, int dpi) { return MulDiv(length, designDpi, UsableDpi(dpi)); }

Rect ScaleRect(const Rect& rect, int dpi) {
    const int left = ScaleToDpi(rect.x, dpi);
    const int top = ScaleToDpi(rect.y, dpi);
    return {left, top, ScaleToDpi(rect.x + rect.width, dpi) - left,
            ScaleToDpi(rect.y + rect.height, dpi) - top};
}

int Rescale(int length, int fromDpi, int toDpi) {
    const int scaled = MulDiv(length, UsableDpi(toDpi), UsableDpi(fromDpi));
    if (scaled == 0 && length != 0) return length < 0 ? -1 : 1;
    return scaled;
}

Rect RescaleRect(const Rect& rect, int fromDpi, int toDpi) {
    const int left = MulDiv(rect.x, UsableDpi(toDpi), UsableDpi(fromDpi));
    const int top = MulDiv(rect.y, UsableDpi(toDpi), UsableDpi(fromDpi));
    return {left, top, Rescale(rect.x + rect.width, fromDpi, toDpi) - left,
            Rescale(rect.y + rect.height, fromDpi, toDpi) - top};
}

int RescaleFontHeight(int height, int fromDpi, int toDpi) {
    if (height >= 0) return Rescale(height, fromDpi, toDpi);
    return FontHeightForSize(std::max(1, SizeForFontHeight(height, UsableDpi(fromDpi))),
                             UsableDpi(toDpi));
}

std::vector<int> StatusPartEdges(std::span<const int> widths, int dpi) {
    std::vector<int> edges;
    int edge = 0;
    for (int width : widths) edges.push_back(ScaleToDpi(edge += width, dpi));
    return edges;
}

Point CentredOrigin(int screenWidth, int screenHeight, int width, int height) {
    return {std::max(0, (screenWidth - width) / 2), std::max(0, (screenHeight - height) / 2)};
}

}  // namespace ui
