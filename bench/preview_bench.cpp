// The print preview's first page: the megabyte of text cut at 40 bytes a line, previewed through
// the printer object until its first page is recorded and painted as the preview shows it whole,
// beside the same text printed until its first page has gone to the spooler, in the same run.
// Then the rest of the preview is laid out, and turning to its last page is timed: that page
// painted into the page view.
//
// Usage: bench_preview [rounds]. Goals: first page shown within 1.0 x the first page printed;
// the last page within 100 ms.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/print_preview_description.h"
#include "bench/bench_support.h"
#include "device/printer_object_win.h"
#include "text/chunk_text.h"
#include "ui/handles_win.h"
#include "ui/text_win.h"

namespace {

using bench::Now;
using bench::Seconds;

constexpr int defaultRounds = 3;
constexpr int charsPerLine = 40;
constexpr int fontPoints = 12;
constexpr wchar_t fontFace[] = L"宋体";
constexpr wchar_t document[] = L"bench-preview-print";
constexpr double firstPageGoal = 1.0;
constexpr double lastPageGoalMs = 100;
// The page view as the preview window has it.
constexpr int viewWidth = 800;
constexpr int viewHeight = 680;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void Prepare(device::PrinterObject& printer) {
    printer.SetFontSize(fontPoints);
    printer.SetFontFaceName(fontFace);
}

// Paints a page as the page view shows it at "整页", into a bitmap of the view's size.
void PaintPage(const device::PrinterObject& printer, HENHMETAFILE page) {
    const ui::WindowDc screen(nullptr);
    const ui::MemoryDc dc(CreateCompatibleDC(screen.get()));
    const ui::Bitmap canvas(CreateCompatibleBitmap(screen.get(), viewWidth, viewHeight));
    const ui::SelectObjectScope selected(dc.get(), canvas.get());
    const device::PageMetrics& m = printer.Paper();
    const app::PagePlacement placed = app::PlacePage(
        {m.physicalWidth, m.physicalHeight, m.offsetX, m.offsetY, m.printableWidth, m.printableHeight,
         printer.DeviceDpi().x, printer.DeviceDpi().y},
        app::PreviewZoom::wholePage, viewWidth, viewHeight, GetDeviceCaps(screen.get(), LOGPIXELSX),
        GetDeviceCaps(screen.get(), LOGPIXELSY));
    const RECT view{0, 0, viewWidth, viewHeight};
    FillRect(dc.get(), &view, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    const RECT printable{placed.printable.x, placed.printable.y,
                         placed.printable.x + placed.printable.width,
                         placed.printable.y + placed.printable.height};
    FillRect(dc.get(), &printable, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    PlayEnhMetaFile(dc.get(), page, &printable);
    GdiFlush();
}

// Seconds from asking for the job until its first page went to the spooler.
double FirstPagePrinted(const std::vector<std::wstring>& lines) {
    device::PrinterObject printer;
    printer.documentName = document;
    Prepare(printer);
    const LONGLONG start = Now();
    if (!printer.StartPrinting(false, false)) return -1;
    for (const std::wstring& line : lines) {
        printer.PrintTextLines(std::span(&line, 1));
        if (printer.PageNumber() > 1) break;
    }
    const double seconds = Seconds(Now() - start);
    printer.EndPrinting();
    return seconds;
}

struct PreviewTimes {
    double firstPage = -1;  // seconds until the first page was painted
    double layout = 0;      // seconds until every page was laid out
    double lastPage = 0;    // seconds to paint the last page
    std::size_t pages = 0;
};

PreviewTimes Preview(const std::vector<std::wstring>& lines) {
    device::PrinterObject printer;
    Prepare(printer);
    PreviewTimes times;
    const LONGLONG start = Now();
    if (!printer.StartPreview()) return times;
    for (const std::wstring& line : lines) {
        printer.PrintTextLines(std::span(&line, 1));
        if (times.firstPage < 0 && !printer.PreviewPages().empty()) {
            PaintPage(printer, printer.PreviewPages().front().get());
            times.firstPage = Seconds(Now() - start);
        }
    }
    printer.EndPrinting();
    times.layout = Seconds(Now() - start);
    times.pages = printer.PreviewPages().size();
    const LONGLONG turn = Now();
    PaintPage(printer, printer.PreviewPages().back().get());
    times.lastPage = Seconds(Now() - turn);
    return times;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int rounds = argc > 1 ? std::max(1, _wtoi(argv[1])) : defaultRounds;
    const std::string text = bench::MakeText();
    const std::u16string wide = ui::ToUtf16(ui::FromGbk(text));
    std::vector<std::wstring> lines;
    for (const std::u16string& line : text::ChunkText(wide, charsPerLine)) {
        lines.push_back(ui::FromUtf16(line));
    }

    std::vector<double> printed, shown, layout, last;
    std::size_t pages = 0;
    for (int round = 0; round < rounds; ++round) {
        const double print = FirstPagePrinted(lines);
        const PreviewTimes preview = Preview(lines);
        if (print < 0 || preview.firstPage < 0) {
            std::fprintf(stderr, "no job could be started on the default printer\n");
            return 1;
        }
        printed.push_back(print);
        shown.push_back(preview.firstPage);
        layout.push_back(preview.layout);
        last.push_back(preview.lastPage);
        pages = preview.pages;
        std::printf("  round %d  first page printed %.3f s, shown %.3f s; %zu pages laid out in %.2f s; "
                    "last page %.1f ms\n",
                    round + 1, print, preview.firstPage, preview.pages, preview.layout,
                    preview.lastPage * 1000);
    }
    const double ratio = Median(shown) / Median(printed);
    const double lastMs = Median(last) * 1000;
    std::printf("preview of %zu bytes of text at %d bytes a line (%zu lines, %zu pages), median of %d rounds\n",
                text.size(), charsPerLine, lines.size(), pages, rounds);
    std::printf("  first page shown / first page printed: %.3f s / %.3f s = %.2f (goal <= %.1f)\n",
                Median(shown), Median(printed), ratio, firstPageGoal);
    std::printf("  last page shown once laid out: %.1f ms (goal <= %.0f ms); whole layout %.2f s\n", lastMs,
                lastPageGoalMs, Median(layout));
    return ratio <= firstPageGoal && lastMs <= lastPageGoalMs ? 0 : 2;
}
