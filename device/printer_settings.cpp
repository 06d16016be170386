#include "device/printer_settings.h"

#include <algorithm>
#include <array>

namespace device {
namespace {

constexpr int lastPage = 32767;
constexpr int noEndPage = -1;
constexpr int maxPageWhenUnset = 65535;

// Paper codes 1 to 16 in order.
constexpr std::array<int, 16> paperNumbers = {
    8,   // A3
    9,   // A4
    11,  // A5
    12,  // B4
    13,  // B5
    15,  // Quarto
    93,  // 16K
    94,  // 32K
    1,   // Letter
    5,   // Legal
    7,   // Executive
    6,   // Statement
    3,   // Tabloid
    18,  // Note
    4,   // Ledger
    14,  // Folio
};
constexpr int firstRawPaperCode = 1000;

}  // namespace

void PrinterSettings::SetUnit(int unit) {
    unit_ = static_cast<DrawingUnit>(std::clamp(unit, 0, static_cast<int>(DrawingUnit::Twip)));
}

void PrinterSettings::SetCopies(int copies) { copies_ = std::clamp(copies, -1, 65535); }
void PrinterSettings::SetMinPage(int page) { minPage_ = std::clamp(page, -1, lastPage); }
void PrinterSettings::SetMaxPage(int page) { maxPage_ = std::clamp(page, 1, lastPage); }
void PrinterSettings::SetFromPage(int page) { fromPage_ = std::clamp(page, 1, lastPage); }
void PrinterSettings::SetToPage(int page) { toPage_ = std::clamp(page, 1, lastPage); }
void PrinterSettings::SetSelection(int selection) { selection_ = std::clamp(selection, -1, 1); }

void PrinterSettings::ReadBackPageRange(std::optional<int> fromPage, std::optional<int> toPage) {
    if (minPage_ < 0) return;
    const int maximum = std::max(minPage_, maxPage_ == -1 ? maxPageWhenUnset : maxPage_);
    fromPage_ = fromPage ? std::clamp(*fromPage, minPage_, maximum) : noEndPage;
    if (!toPage) {
        toPage_ = noEndPage;
    } else if (fromPage_ != noEndPage) {
        toPage_ = std::clamp(*toPage, fromPage_, maximum);
    } else {
        toPage_ = std::clamp(*toPage, minPage_, maximum);
    }
}

std::optional<DialogPageRange> PageRangeForDialog(const PrinterSettings& settings) {
    if (settings.MinPage() < 0) return std::nullopt;
    DialogPageRange range;
    range.minPage = settings.MinPage();
    range.maxPage = std::max(range.minPage,
                             settings.MaxPage() == -1 ? maxPageWhenUnset : settings.MaxPage());
    range.fromPage = std::clamp(settings.FromPage(), range.minPage, range.maxPage);
    if (settings.ToPage() != noEndPage) {
        range.toPage = std::clamp(settings.ToPage(), range.fromPage, range.maxPage);
    }
    return range;
}

std::optional<int> PaperNumberForCode(int code) {
    if (code <= 0) return std::nullopt;  // no change, or the user-defined size
    if (code >= 1 && code <= static_cast<int>(paperNumbers.size())) return paperNumbers[code - 1];
    if (code >= firstRawPaperCode) return code - (firstRawPaperCode - 1);
    return 0;
}

int OrientationForCode(int code) {
    constexpr int portrait = 1;
    constexpr int landscape = 2;
    return code == 1 ? landscape : portrait;
}

int PageMetrics::RightStrip() const {
    return std::max(0, physicalWidth - offsetX - printableWidth);
}

int PageMetrics::BottomStrip() const {
    return std::max(0, physicalHeight - offsetY - printableHeight);
}

int LengthInsideMargins(int usableLength, int marginBefore, int marginAfter) {
    return std::max(0, usableLength - marginBefore - marginAfter);
}

}  // namespace device
