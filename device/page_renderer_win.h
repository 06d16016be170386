// Draws the pages of a plan onto any device context: the printer's page, the preview's page, a
// bitmap. The same page drawn on two devices differs only in scale.
#pragma once

#include <windows.h>

#include <cstddef>
#include <memory>
#include <vector>

#include "device/font_coverage.h"
#include "device/page_plan.h"
#include "ui/handles_win.h"

namespace device {

// A picture the renderer can draw. A printer takes a large picture a band of rows at a time, so
// that a job can go back to the message loop between bands.
class DrawablePicture : public PagePicture {
public:
    // How many bands the picture is drawn in onto this device context; `to` is the whole
    // picture's place in device pixels, as DrawBand is given it.
    virtual int BandCount(HDC dc, const PictureItem& item, const RECT& to) const = 0;
    // Draws one band of the item's picture; `to` is the whole picture's place in device pixels.
    virtual void DrawBand(HDC dc, const PictureItem& item, const RECT& to, DWORD rop,
                          int band) const = 0;
    // Makes ready, ahead of drawing, what DrawBand will draw for the item at `to`, so that the
    // pictures of a page can be made ready at once; called on worker threads, never with a DC.
    virtual void Prepare(const PictureItem& /*item*/, const RECT& /*to*/) const {}
};

// Where a page lands on a device context: the top-left corner of the printable area in its
// pixels, and its pixels per inch at the scale the page is drawn (a printer's own; the screen's
// times the zoom for a preview).
struct PageFrame {
    int originX = 0;
    int originY = 0;
    double dpiX = 0;
    double dpiY = 0;
};
// A printer's page at its own resolution.
PageFrame DeviceFrame(HDC dc);

// The font a plan's font is drawn and measured in: its height in the mapping's 0.1 mm.
LOGFONTW LogFontOf(const PlanFont& font);

// Sets the device context's mapping so that one logical unit is 0.1 mm of the frame's scale, y
// growing downwards, the printable area's corner at the origin.
void ApplyPageMapping(HDC dc, const PageFrame& frame);

class PageRenderer {
public:
    explicit PageRenderer(std::shared_ptr<const PagePlan> plan);
    ~PageRenderer();
    PageRenderer(const PageRenderer&) = delete;
    PageRenderer& operator=(const PageRenderer&) = delete;

    const PagePlan& Plan() const { return *plan_; }

    // The steps a page is drawn in onto this device context: first its lines and a few of its
    // text lines, then the next few text lines, then each band of each of its pictures. A
    // printer's driver may take several milliseconds a text line. Without a frame, at the
    // device's own resolution (DeviceFrame).
    std::size_t StepCount(HDC dc, const PageFrame& frame, std::size_t page) const;
    std::size_t StepCount(HDC dc, std::size_t page) const;
    void DrawStep(HDC dc, const PageFrame& frame, std::size_t page, std::size_t step);
    // A whole page at once, as a preview shows it: its pictures are made ready side by side
    // first, on as many threads as there are processors (up to four).
    void DrawPage(HDC dc, const PageFrame& frame, std::size_t page);

private:
    struct Fonts;
    void PreparePictures(HDC dc, const PageFrame& frame, const PlanPage& page);
    void DrawTexts(HDC dc, const PlanPage& page, std::size_t first, std::size_t count);
    void DrawLine(HDC dc, const TextItem& item);
    void PrepareFonts(HDC dc);

    std::shared_ptr<const PagePlan> plan_;
    std::unique_ptr<Fonts> fonts_;
};

}  // namespace device
