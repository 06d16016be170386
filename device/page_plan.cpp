#include "device/page_plan.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>


namespace device {
namespace {

constexpr int tenthsPerInch = 254;

int Round(double value) { return static_cast<int>(std::floor(value + 0.5)); }

// Where a length goes to sit in the middle of another: at its corner when it is longer.
int CentredStart(int available, int length) { return std::max(0, (available - length) / 2); }

}  // namespace

int TenthsToPixels(int tenths, int dpi) {
    return Round(static_cast<double>(tenths) * dpi / tenthsPerInch);
}

int PixelsToTenths(int pixels, int dpi) {
    return dpi <= 0 ? 0 : Round(static_cast<double>(pixels) * tenthsPerInch / dpi);
}

UnitScale UnitScale::ForDpi(int dpi) {
    return {[dpi](int tenths) { return TenthsToPixels(tenths, dpi); },
            [dpi](int pixels) { return PixelsToTenths(pixels, dpi); }};
}

int PaperSpec::PrintableWidth() const {
    return LengthInsideMargins(PixelsToTenths(metrics.UsableWidth(), dpiX), marginLeft,
                               marginRight);
}

int PaperSpec::PrintableHeight() const {
    return LengthInsideMargins(PixelsToTenths(metrics.UsableHeight(), dpiY), marginTop,
                               marginBottom);
}

bool StartsNewPage(int top, int lineHeight, int pageHeight) {
    return top > 0 && top + lineHeight > pageHeight;
}

LinePlacer::LinePlacer(int top, int pageHeight, UnitScale scale)
    : top_(top), pageHeight_(pageHeight), scale_(std::move(scale)) {}

LinePlacement LinePlacer::Place(int lineHeight) {
    LinePlacement placement;
    placement.onNewPage = StartsNewPage(top_, lineHeight, pageHeight_);
    if (placement.onNewPage) top_ = 0;
    placement.top = top_;
    const int bottom = top_ + lineHeight;
    top_ = scale_.toTenths(scale_.toPixels(bottom) + lineGapPixels);
    return placement;
}

namespace {

int DigitCount(int number) {
    int digits = 1;
    for (; number >= 10; number /= 10) ++digits;
    return digits;
}

void AddBand(PlanPage& page, const PageBand& band, int left, int width, int top, std::size_t font) {
    const std::pair<const std::u16string*, std::pair<int, TextAlign>> parts[] = {
        {&band.left, {left, TextAlign::left}},
        {&band.centre, {left + width / 2, TextAlign::centre}},
        {&band.right, {left + width, TextAlign::right}}};
    for (const auto& [text, place] : parts) {
        if (!text->empty()) page.texts.push_back({place.first, top, *text, font, place.second});
    }
}

}  // namespace

PagePlan PlanText(const PaperSpec& paper, const TextPlanRequest& request, const UnitScale& scale) {
    PagePlan plan{paper, {request.font}, {}};
    const int printableHeight = LengthInsideMargins(scale.toTenths(paper.metrics.UsableHeight()),
                                                    paper.marginTop, paper.marginBottom);
    const int bandRoom = request.bandLineHeight + bandGap;
    const int textTop = paper.marginTop + (request.header ? bandRoom : 0);
    const int textHeight = std::max(0, printableHeight - (request.header ? bandRoom : 0) -
                                           (request.footer ? bandRoom : 0));

    int textLeft = paper.marginLeft;
    int numberRight = 0;
    const bool numbered = !request.numbers.empty();
    if (numbered) {
        const int largest = *std::max_element(request.numbers.begin(), request.numbers.end());
        numberRight = paper.marginLeft + DigitCount(largest) * request.digitWidth;
        textLeft = numberRight + request.digitWidth;
    }

    LinePlacer placer(0, textHeight, scale);
    plan.pages.emplace_back();
    for (std::size_t index = 0; index < request.lines.size(); ++index) {
        const std::u16string& line = request.lines[index];
        const LinePlacement placement = placer.Place(request.lineHeight);
        if (placement.onNewPage) plan.pages.emplace_back();
        const int top = textTop + placement.top;
        std::vector<TextItem>& texts = plan.pages.back().texts;
        if (numbered && index < request.numbers.size() && request.numbers[index] > 0) {
            const std::string digits = std::to_string(request.numbers[index]);
            texts.push_back({numberRight, top, std::u16string(digits.begin(), digits.end()), 0,
                             TextAlign::right});
        }
        if (!line.empty()) texts.push_back({textLeft, top, line, 0});
    }

    if ((request.header || request.footer) && request.bands) {
        plan.fonts.push_back(request.bandFont);
        const int pageCount = static_cast<int>(plan.pages.size());
        const int footerTop = paper.marginTop + printableHeight - request.bandLineHeight;
        for (int page = 0; page < pageCount; ++page) {
            const PageBands bands = request.bands(page + 1, pageCount);
            PlanPage& planned = plan.pages[static_cast<std::size_t>(page)];
            if (request.header) {
                AddBand(planned, bands.header, paper.marginLeft, paper.PrintableWidth(),
                        paper.marginTop, 1);
            }
            if (request.footer) {
                AddBand(planned, bands.footer, paper.marginLeft, paper.PrintableWidth(), footerTop, 1);
            }
        }
    }
    return plan;
}

PagePlan PlanPicture(const PaperSpec& paper, std::shared_ptr<const PagePicture> picture,
                     int width, int height) {
    PagePlan plan{paper, {}, {PlanPage{}}};
    if (!picture) return plan;
    PictureItem item;
    item.picture = std::move(picture);
    item.left = paper.marginLeft + CentredStart(paper.PrintableWidth(), width);
    item.top = paper.marginTop + CentredStart(paper.PrintableHeight(), height);
    item.width = width;
    item.height = height;
    plan.pages.front().pictures.push_back(std::move(item));
    return plan;
}

std::vector<std::size_t> PagesToPrint(std::size_t pageCount, int fromPage, int toPage, int copies,
                                      bool collate) {
    std::vector<std::size_t> pages;
    if (pageCount == 0) return pages;
    const std::size_t first = static_cast<std::size_t>(std::max(1, fromPage)) - 1;
    const std::size_t last =
        toPage < 1 ? pageCount - 1 : std::min(pageCount, static_cast<std::size_t>(toPage)) - 1;
    if (first > last) return pages;
    const int times = std::max(1, copies);
    if (collate) {
        for (int copy = 0; copy < times; ++copy) {
            for (std::size_t page = first; page <= last; ++page) pages.push_back(page);
        }
    } else {
        for (std::size_t page = first; page <= last; ++page) pages.insert(pages.end(), times, page);
    }
    return pages;
}

}  // namespace device
