// The pages of a job as data: what goes where on each page, laid out once from the paper and the
// font's measurements, then drawn by one renderer onto the printer, the preview or a bitmap.
// Positions and sizes are in 0.1 mm from the top-left corner of the paper's printable area; the
// margins are already added in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "device/printer_settings.h"

namespace device {

// The paper a plan is laid out on: the device's page in its pixels, its pixels per inch, and the
// margins the user set, in 0.1 mm.
struct PaperSpec {
    PageMetrics metrics;
    int dpiX = 0;
    int dpiY = 0;
    int marginLeft = 0;
    int marginTop = 0;
    int marginRight = 0;
    int marginBottom = 0;

    // The printable area inside the margins, in 0.1 mm; never negative.
    int PrintableWidth() const;
    int PrintableHeight() const;
    bool operator==(const PaperSpec&) const = default;
};

// Lengths between 0.1 mm and device pixels, rounded to the nearest as a device context's mapping
// rounds them. On Windows the device context's own conversion is passed in instead, so that a
// plan places its lines exactly where the printer's mapping puts them.
struct UnitScale {
    std::function<int(int)> toPixels;  // 0.1 mm -> device pixels
    std::function<int(int)> toTenths;  // device pixels -> 0.1 mm
    static UnitScale ForDpi(int dpi);
};
int TenthsToPixels(int tenths, int dpi);
int PixelsToTenths(int pixels, int dpi);

// Space left under every text line, on top of its height.
inline constexpr int lineGapPixels = 2;

// A line moves to a new page only when it would end below the page and is not already the
// first line of its page, so a line taller than the page is still printed.
bool StartsNewPage(int top, int lineHeight, int pageHeight);

struct LinePlacement {
    int top = 0;  // 0.1 mm, from the top margin
    bool onNewPage = false;
};

// Stacks lines down the page in 0.1 mm, the gap added in device pixels.
class LinePlacer {
public:
    LinePlacer(int top, int pageHeight, UnitScale scale);

    // Where the next line goes, moving to a new page first when it does not fit, and then
    // below it by its height and the gap.
    LinePlacement Place(int lineHeight);
    int Top() const { return top_; }

private:
    int top_;
    int pageHeight_;
    UnitScale scale_;
};

// A font of a plan: a face and a height in 0.1 mm (negative: the characters' height, as a
// LOGFONT's lfHeight), and the colour of the text written in it.
struct PlanFont {
    std::u16string face;
    int height = 0;
    std::uint32_t colour = 0;  // 0x00BBGGRR
    bool operator==(const PlanFont&) const = default;
};

// Which edge or middle of a line its x stands for.
enum class TextAlign : std::uint8_t { left, centre, right };

// One line of text, its top at top, its left edge (or its middle, or its right edge) at left.
struct TextItem {
    int left = 0;
    int top = 0;
    std::u16string text;
    std::size_t font = 0;  // index into the plan's fonts
    TextAlign align = TextAlign::left;
};

// Something a plan can place a picture of; the renderer knows how to draw it.
class PagePicture {
public:
    virtual ~PagePicture() = default;
    virtual int Width() const = 0;  // pixels
    virtual int Height() const = 0;
};

// A part of a picture, in its pixels; an empty one is the whole picture.
struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool Empty() const { return width <= 0 || height <= 0; }
};

// A picture stretched over a rectangle of the page: turned clockwise by quarter turns first,
// then cut to the crop (in the turned picture's pixels).
struct PictureItem {
    std::shared_ptr<const PagePicture> picture;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int quarterTurns = 0;
    PixelRect crop;
    int copyMode = 1;  // 1 SRCCOPY, 2 NOTSRCCOPY, 3 SRCINVERT, 4 SRCPAINT, 5 SRCAND
};

// A thin straight line, such as a cut mark: 0 width is the thinnest the device draws.
struct RuleItem {
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
    int width = 0;
};

struct PlanPage {
    std::vector<TextItem> texts;
    std::vector<PictureItem> pictures;
    std::vector<RuleItem> rules;
};

struct PagePlan {
    PaperSpec paper;
    std::vector<PlanFont> fonts;
    std::vector<PlanPage> pages;
};

// Words printed at the top or the bottom of a page: at the left, in the middle, at the right.
struct PageBand {
    std::u16string left;
    std::u16string centre;
    std::u16string right;
};
struct PageBands {
    PageBand header;
    PageBand footer;
};

// Space between a header or a footer and the text, in 0.1 mm.
inline constexpr int bandGap = 20;

// A text job: lines without breaks, written one below the other at the left margin in one font.
// lineHeight is the font's height on the printer in 0.1 mm (the height of "W" for an empty
// line is the same); each line is followed by a gap of 2 device pixels. A line that would end
// below the printable area goes onto a new page, unless it is the first of its page.
//
// With line numbers, each line's number (0 for none) is written right-aligned in a column at the
// left margin, as wide as the largest number's digits and one digit more, and the lines move to
// its right. A header takes the top of the printable area and a footer its bottom, each one
// band line high and bandGap away from the text, which has that much less room. Their words
// are asked for once the pages are known, with each page's number and the number of pages.
struct TextPlanRequest {
    std::vector<std::u16string> lines;
    PlanFont font;
    int lineHeight = 0;
    std::vector<int> numbers;  // one per line, or none at all for no column
    int digitWidth = 0;        // 0.1 mm, of a digit in the font
    bool header = false;
    bool footer = false;
    PlanFont bandFont;
    int bandLineHeight = 0;
    std::function<PageBands(int page, int pageCount)> bands;
};
PagePlan PlanText(const PaperSpec& paper, const TextPlanRequest& request, const UnitScale& scale);

// A picture job: one picture on one page, width × height in 0.1 mm, centred on the printable
// area where it fits and at its corner where it does not.
PagePlan PlanPicture(const PaperSpec& paper, std::shared_ptr<const PagePicture> picture,
                     int width, int height);

// The pages a job prints, in order, as indexes into the plan: the range asked for (1-based,
// inclusive, clamped to the plan), repeated for copies the printer cannot make itself, every
// copy whole before the next when collated, else each page so many times.
std::vector<std::size_t> PagesToPrint(std::size_t pageCount, int fromPage, int toPage, int copies,
                                      bool collate);

}  // namespace device
