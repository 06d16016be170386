// The printer object's settings, kept between jobs, and the arithmetic of a job that needs no
// device context: print dialog page ranges, paper codes, printable sizes.
#pragma once

#include <cstdint>
#include <optional>

#include "device/printer_font_height.h"

namespace device {

using Colour = std::uint32_t;  // 0x00BBGGRR

// As a text background: no background at all.
inline constexpr Colour transparentColour = 0xFF000000;

// Every setting is clamped into its range when written.
class PrinterSettings {
public:
    DrawingUnit Unit() const { return unit_; }
    void SetUnit(int unit);

    Colour textColor = 0;
    Colour textBackground = transparentColour;

    int Copies() const { return copies_; }
    void SetCopies(int copies);  // -1 leaves the dialog's copies alone
    bool collate = true;

    int MinPage() const { return minPage_; }  // -1: the dialog offers no page range
    void SetMinPage(int page);
    int MaxPage() const { return maxPage_; }  // -1 counts as 65535
    void SetMaxPage(int page);
    int FromPage() const { return fromPage_; }
    void SetFromPage(int page);
    int ToPage() const { return toPage_; }  // -1: no end page
    void SetToPage(int page);
    int Selection() const { return selection_; }  // -1 not offered, 0 offered, 1 chosen
    void SetSelection(int selection);

    // Drawing units, added to the printable area's origin and taken off its size.
    int marginLeft = 0;
    int marginTop = 0;
    int marginRight = 0;
    int marginBottom = 0;

    // The first page number of a job.
    int FirstPageNumber() const { return fromPage_ < 1 ? 1 : fromPage_; }

    // Stores what the user chose in the print dialog. fromPage and toPage are the dialog's page
    // range, or nullopt when the user did not choose a range.
    void ReadBackPageRange(std::optional<int> fromPage, std::optional<int> toPage);

private:
    DrawingUnit unit_ = DrawingUnit::TenthMillimetre;
    int copies_ = 1;
    int minPage_ = -1;
    int maxPage_ = -1;
    int fromPage_ = 1;
    int toPage_ = -1;
    int selection_ = -1;
};

// The page range the print dialog starts with; only offered when the minimum page is set.
struct DialogPageRange {
    int minPage = 0;
    int maxPage = 0;
    int fromPage = 0;
    int toPage = 0;  // 0: no end page
};
std::optional<DialogPageRange> PageRangeForDialog(const PrinterSettings& settings);

// Windows' paper number for one of the printer object's paper codes; nullopt for code 0 (no
// change) and for the user-defined size (-1), which carries its own width and length. Codes
// without a paper of their own give 0.
inline constexpr int userDefinedPaperCode = -1;
inline constexpr int userDefinedPaperNumber = 256;
std::optional<int> PaperNumberForCode(int code);

// Windows' orientation: 2 (landscape) for 1, 1 (portrait) for anything else.
int OrientationForCode(int code);

// The printer's page in device pixels, as the device reports it.
struct PageMetrics {
    int physicalWidth = 0;
    int physicalHeight = 0;
    int offsetX = 0;
    int offsetY = 0;
    int printableWidth = 0;   // HORZRES
    int printableHeight = 0;  // VERTRES

    int RightStrip() const;
    int BottomStrip() const;
    // The part of the page from the printable origin to the far unprintable strip.
    int UsableWidth() const { return physicalWidth - offsetX - RightStrip(); }
    int UsableHeight() const { return physicalHeight - offsetY - BottomStrip(); }
    bool operator==(const PageMetrics&) const = default;
};

// A usable length in drawing units less two margins; never negative.
int LengthInsideMargins(int usableLength, int marginBefore, int marginAfter);

}  // namespace device
