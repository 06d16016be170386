#include "device/printer_object_win.h"

#include <algorithm>
#include <string>
#include <utility>

#include "device/page_renderer_win.h"
#include "device/printer_font_height.h"
#include "ui/dpi_scale.h"
#include "ui/handles_win.h"
#include "ui/text_win.h"
#include "ui/window_win.h"

namespace device {
namespace {

constexpr wchar_t fallbackFace[] = L"宋体";
constexpr std::size_t longestFaceBytes = 31;  // LOGFONT's face field, in GBK bytes

// The font the printer object holds has its height in pixels of a 96-dpi screen, whatever the
// screen's resolution, so that a size in points prints the same on every screen.
constexpr int fontDpi = ui::designDpi;

// Headers and footers are written in the text's font at this share of its height.
constexpr int bandFontPercent = 80;

LOGFONTW DefaultGuiFont() {
    LOGFONTW font{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    font.lfHeight = ui::Rescale(font.lfHeight, ui::ScreenDpi(), fontDpi);
    return font;
}

PrintResult ResultOf(const JobOutcome& outcome, PrintResult result) {
    result.pagesPrinted = outcome.pagesPrinted;
    result.pageCount = outcome.pageCount;
    result.error = outcome.error;
    switch (outcome.end) {
    case JobEnd::printed: result.end = PrintEnd::printed; break;
    case JobEnd::aborted: result.end = PrintEnd::aborted; break;
    case JobEnd::failed: result.end = PrintEnd::failed; break;
    }
    return result;
}

}  // namespace

int PrinterObject::FontSize() const {
    const LOGFONTW font = font_.value_or(DefaultGuiFont());
    return ui::SizeForFontHeight(font.lfHeight, fontDpi);
}

void PrinterObject::SetFontSize(int points) {
    LOGFONTW font = font_.value_or(DefaultGuiFont());
    font.lfHeight = ui::FontHeightForSize(points, fontDpi);
    font_ = font;
}

void PrinterObject::SetFontFaceName(std::wstring_view face) {
    LOGFONTW font = font_.value_or(DefaultGuiFont());
    const std::size_t bytes = ui::ToGbk(face).size();
    const std::wstring used = bytes >= 1 && bytes <= longestFaceBytes && face.size() < LF_FACESIZE
                                  ? std::wstring(face)
                                  : std::wstring(fallbackFace);
    std::fill(std::begin(font.lfFaceName), std::end(font.lfFaceName), L'\0');
    used.copy(font.lfFaceName, LF_FACESIZE - 1);
    font_ = font;
}

PaperSpec PrinterObject::PaperOf(HDC dc) const {
    PaperSpec paper;
    paper.metrics.physicalWidth = GetDeviceCaps(dc, PHYSICALWIDTH);
    paper.metrics.physicalHeight = GetDeviceCaps(dc, PHYSICALHEIGHT);
    paper.metrics.offsetX = GetDeviceCaps(dc, PHYSICALOFFSETX);
    paper.metrics.offsetY = GetDeviceCaps(dc, PHYSICALOFFSETY);
    paper.metrics.printableWidth = GetDeviceCaps(dc, HORZRES);
    paper.metrics.printableHeight = GetDeviceCaps(dc, VERTRES);
    paper.dpiX = GetDeviceCaps(dc, LOGPIXELSX);
    paper.dpiY = GetDeviceCaps(dc, LOGPIXELSY);
    paper.marginLeft = settings_.marginLeft;
    paper.marginTop = settings_.marginTop;
    paper.marginRight = settings_.marginRight;
    paper.marginBottom = settings_.marginBottom;
    return paper;
}

PagePlan PrinterObject::PlanTextLines(HDC dc, const PaperSpec& paper,
                                      const std::vector<std::u16string>& lines) const {
    TextPlanRequest request;
    request.lines = lines;
    return PlanTextLines(dc, paper, std::move(request));
}

PlanFont PrinterObject::TextFont(int dpiY) const {
    const LOGFONTW held = font_.value_or(DefaultGuiFont());
    return {ui::ToUtf16(held.lfFaceName),
            PrinterFontHeight(held.lfHeight, fontDpi, DrawingUnit::TenthMillimetre, dpiY),
            settings_.textColor};
}

namespace {

// The size of a text in a plan's font on a device context whose page mapping is applied.
SIZE Extent(HDC dc, const PlanFont& font, std::u16string_view text) {
    const LOGFONTW log = LogFontOf(font);
    const ui::Font made(CreateFontIndirectW(&log));
    SIZE extent{};
    const ui::SelectObjectScope selected(dc, made ? made.get() : GetStockObject(DEFAULT_GUI_FONT));
    const std::wstring wide = ui::FromUtf16(text);
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &extent);
    return extent;
}

}  // namespace

PagePlan PrinterObject::PlanTextLines(HDC dc, const PaperSpec& paper, TextPlanRequest request) const {
    request.font = TextFont(paper.dpiY);
    request.bandFont = request.font;
    request.bandFont.height = request.font.height * bandFontPercent / 100;

    // Measured and placed through the printer's own mapping, as its pages will be drawn.
    const int saved = SaveDC(dc);
    ApplyPageMapping(dc, DeviceFrame(dc));
    request.lineHeight = Extent(dc, request.font, u"W").cy;
    if (!request.numbers.empty()) request.digitWidth = Extent(dc, request.font, u"0").cx;
    if (request.header || request.footer) request.bandLineHeight = Extent(dc, request.bandFont, u"W").cy;
    const UnitScale scale{[dc](int tenths) {
                              POINT point{0, tenths};
                              LPtoDP(dc, &point, 1);
                              return static_cast<int>(point.y);
                          },
                          [dc](int pixels) {
                              POINT point{0, pixels};
                              DPtoLP(dc, &point, 1);
                              return static_cast<int>(point.y);
                          }};
    PagePlan plan = PlanText(paper, request, scale);
    RestoreDC(dc, saved);
    return plan;
}

int PrinterObject::TextWidth(HDC dc, std::u16string_view text) const {
    const int saved = SaveDC(dc);
    ApplyPageMapping(dc, DeviceFrame(dc));
    const int width = Extent(dc, TextFont(GetDeviceCaps(dc, LOGPIXELSY)), text).cx;
    RestoreDC(dc, saved);
    return width;
}

std::shared_ptr<const PagePlan> PrinterObject::PlanOnCurrentPrinter(const LayOut& layOut,
                                                                    const PaperChoice& paper) {
    const ui::CreatedDc ic = chooser_.InformationContext(paper);
    if (!ic || !layOut) return nullptr;
    return std::make_shared<const PagePlan>(layOut(ic.get(), PaperOf(ic.get())));
}

void PrinterObject::Print(PrintRequest request) {
    PrintResult result;
    const auto finish = [&request](const PrintResult& ended) {
        if (request.done) request.done(ended);
    };
    if (JobRunning()) {
        result.end = PrintEnd::busy;
        return finish(result);
    }
    printerName_.clear();

    // What the dialog offers is set on a copy: the range and the selection belong to this job.
    std::shared_ptr<const PagePlan> plan = request.planned;
    PrinterSettings offered = settings_;
    if (request.offerPageRange) {
        if (!plan) plan = PlanOnCurrentPrinter(request.layOut, request.paper);
        const int pages = plan ? static_cast<int>(plan->pages.size()) : 0;
        if (pages > 0) {
            offered.SetMinPage(1);
            offered.SetMaxPage(pages);
            if (request.presetPage > 0) {
                offered.SetFromPage(request.presetPage);
                offered.SetToPage(request.presetPage);
            }
        }
    }
    if (request.layOutSelection) offered.SetSelection(0);

    ChooseResult chosen = chooser_.Choose(owner_, request.showDialog, request.paper, offered);
    settings_.SetCopies(offered.Copies());
    settings_.collate = offered.collate;
    result.copies = settings_.Copies();
    if (!chosen.printer) {
        result.end = chosen.error == 0 ? PrintEnd::cancelled : PrintEnd::failed;
        result.error = chosen.error;
        return finish(result);
    }
    ChosenPrinter& printer = *chosen.printer;
    HDC dc = printer.dc.get();
    const PaperSpec paper = PaperOf(dc);
    int fromPage = 1;
    int toPage = -1;
    if (offered.Selection() == 1) {
        plan = std::make_shared<const PagePlan>(request.layOutSelection(dc, paper));
    } else {
        if (!plan || !(plan->paper == paper)) {
            plan = std::make_shared<const PagePlan>(request.layOut(dc, paper));
        }
        if (offered.MinPage() >= 0 && offered.FromPage() >= 1) {
            fromPage = offered.FromPage();
            toPage = offered.ToPage();
        }
    }

    JobSetup setup;
    setup.documentName = documentName;
    setup.owner = owner_;
    setup.showProgress = request.showProgress;
    setup.pages = PagesToPrint(plan->pages.size(), fromPage, toPage,
                               printer.driverCopies ? 1 : printer.copies, printer.collate);
    printerName_ = printer.device;
    result.printer = printer.device;
    result.pageCount = setup.pages.size();

    JobOutcome failure;
    std::unique_ptr<PrintJob> job = PrintJob::Start(std::move(printer), plan, std::move(setup), failure);
    if (!job) {
        printerName_.clear();
        return finish(ResultOf(failure, result));
    }
    if (request.started) request.started(result);
    runner_.Run(std::move(job), [result, done = std::move(request.done)](const JobOutcome& outcome) {
        if (done) done(ResultOf(outcome, result));
    });
}

}  // namespace device
