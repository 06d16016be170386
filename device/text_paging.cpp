#include "device/text_paging.h"

#include <cstddef>
#include <utility>

namespace device {
namespace {

constexpr char lineFeed = '\n';
constexpr std::string_view lineBreaks = "\r\n";

}  // namespace

std::vector<std::string_view> SplitIntoLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t lineBreak = text.find_first_of(lineBreaks, start);
        if (lineBreak == std::string_view::npos) {
            lines.push_back(text.substr(start));
            return lines;
        }
        lines.push_back(text.substr(start, lineBreak - start));
        start = lineBreak + 1;
        if (start < text.size() && text[start] == lineFeed) ++start;
    }
}

bool StartsNewPage(int top, int lineHeight, int pageHeight) {
    return top > 0 && top + lineHeight > pageHeight;
}

LinePlacer::LinePlacer(int top, int pageHeight, VerticalScale scale)
    : top_(top), pageHeight_(pageHeight), scale_(std::move(scale)) {}

LinePlacement LinePlacer::Place(int lineHeight) {
    LinePlacement placement;
    placement.onNewPage = StartsNewPage(top_, lineHeight, pageHeight_);
    if (placement.onNewPage) top_ = 0;
    placement.top = top_;
    const int bottom = top_ + lineHeight;
    top_ = scale_.toDrawingUnits(scale_.toDevicePixels(bottom) + lineGapPixels);
    return placement;
}

}  // namespace device
