// How printed text lines are split at line breaks and stacked down the pages.
#pragma once

#include <functional>
#include <string_view>
#include <vector>

namespace device {

// Splits a text into the lines printed one below the other: a line ends at a CR or an LF, and
// that character and one LF right after it are used up. So CR LF is one break and so is LF LF,
// while CR CR is two. A break at the end leaves an empty last line; the empty text is one
// empty line.
std::vector<std::string_view> SplitIntoLines(std::string_view text);

// Space left under every line, on top of its height.
inline constexpr int lineGapPixels = 2;

// A line moves to a new page only when it would end below the page and is not already the
// first line of its page, so a line taller than the page is still printed.
bool StartsNewPage(int top, int lineHeight, int pageHeight);

// Vertical positions between the drawing unit and device pixels; on Windows this is the
// device context's mapping mode, so the gap can be added in pixels whatever the unit.
struct VerticalScale {
    std::function<int(int)> toDevicePixels;
    std::function<int(int)> toDrawingUnits;
};

struct LinePlacement {
    int top = 0;  // drawing units, from the top margin
    bool onNewPage = false;
};

// Stacks lines down the page in drawing units.
class LinePlacer {
public:
    LinePlacer(int top, int pageHeight, VerticalScale scale);

    // Where the next line goes, moving to a new page first when it does not fit, and then
    // below it by its height and the gap.
    LinePlacement Place(int lineHeight);
    int Top() const { return top_; }

private:
    int top_;
    int pageHeight_;
    VerticalScale scale_;
};

}  // namespace device
