// The print preview's first page: the megabyte of text cut at 40 characters a line, laid out on
// the current printer's information context and its first page drawn as the preview shows it
// whole, onto a memory bitmap of the screen's size, beside the same text printed until its
// first page has gone to the spooler, in the same run. Then turning to the last page is timed:
// that page drawn the same way.
//
// Usage: bench_preview [rounds]. Goals: first page shown within 1.0 x the first page printed;
// the last page within 100 ms.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/print_preview_description.h"
#include "bench/bench_support.h"
#include "bench/print_path.h"
#include "device/page_renderer_win.h"
#include "device/printer_object_win.h"
#include "text/chunk_text.h"
#include "ui/handles_win.h"

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

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void Prepare(device::PrinterObject& printer) {
    printer.SetFontSize(fontPoints);
    printer.SetFontFaceName(fontFace);
}

// Draws a page as the preview shows it at "整页" in a view of the screen's size, as the preview
// window does: on white paper of the size shown, the printable area's corner where it falls.
void DrawPage(device::PageRenderer& renderer, std::size_t page) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    const ui::WindowDc screen(nullptr);
    const ui::MemoryDc dc(CreateCompatibleDC(screen.get()));
    const ui::Bitmap canvas(CreateCompatibleBitmap(screen.get(), width, height));
    const ui::SelectObjectScope selected(dc.get(), canvas.get());
    const device::PaperSpec& paper = renderer.Plan().paper;
    const device::PageMetrics& m = paper.metrics;
    const app::PagePlacement placed = app::PlacePage(
        {m.physicalWidth, m.physicalHeight, m.offsetX, m.offsetY, m.printableWidth, m.printableHeight,
         paper.dpiX, paper.dpiY},
        app::PreviewZoom::wholePage, width, height, GetDeviceCaps(screen.get(), LOGPIXELSX),
        GetDeviceCaps(screen.get(), LOGPIXELSY));
    PatBlt(dc.get(), 0, 0, width, height, WHITENESS);
    device::PageFrame frame;
    frame.originX = placed.printable.x;
    frame.originY = placed.printable.y;
    frame.dpiX = paper.dpiX * static_cast<double>(placed.paper.width) / m.physicalWidth;
    frame.dpiY = paper.dpiY * static_cast<double>(placed.paper.height) / m.physicalHeight;
    renderer.DrawPage(dc.get(), frame, page);
    GdiFlush();
}

// Seconds from taking the default printer until the job's first page went to the spooler; the
// job is dropped then, which aborts it.
double FirstPagePrinted(const std::vector<std::u16string>& lines) {
    device::PrinterObject printer;
    Prepare(printer);
    const LONGLONG start = Now();
    const bench::StartedJob started = bench::StartJob(printer, bench::TextLayOut(printer, lines), document);
    if (!started.job) return -1;
    while (started.job->Outcome().pagesPrinted == 0 && started.job->Step()) {
    }
    return started.job->Outcome().pagesPrinted == 1 ? Seconds(Now() - start) : -1;
}

struct PreviewTimes {
    double firstPage = -1;  // seconds until the first page was drawn
    double lastPage = 0;    // seconds to draw the last page
    std::size_t pages = 0;
};

PreviewTimes Preview(const std::vector<std::u16string>& lines) {
    device::PrinterObject printer;
    Prepare(printer);
    PreviewTimes times;
    const LONGLONG start = Now();
    const auto plan = printer.PlanOnCurrentPrinter(bench::TextLayOut(printer, lines));
    if (!plan || plan->pages.empty()) return times;
    device::PageRenderer renderer(plan);
    DrawPage(renderer, 0);
    times.firstPage = Seconds(Now() - start);
    times.pages = plan->pages.size();
    const LONGLONG turn = Now();
    DrawPage(renderer, times.pages - 1);
    times.lastPage = Seconds(Now() - turn);
    return times;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int rounds = argc > 1 ? std::max(1, _wtoi(argv[1])) : defaultRounds;
    const std::u16string text = bench::MakeWideText();
    const std::vector<std::u16string> lines = text::ChunkText(text, charsPerLine);

    std::vector<double> printed, shown, last;
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
        last.push_back(preview.lastPage);
        pages = preview.pages;
        std::printf("  round %d  first page printed %.3f s, shown %.3f s (%zu pages laid out); last page %.1f ms\n",
                    round + 1, print, preview.firstPage, preview.pages, preview.lastPage * 1000);
    }
    const double ratio = Median(shown) / Median(printed);
    const double lastMs = Median(last) * 1000;
    std::printf("preview of %zu UTF-16 units of text at %d characters a line (%zu lines, %zu pages) on a %d x %d "
                "bitmap, median of %d rounds\n",
                text.size(), charsPerLine, lines.size(), pages, GetSystemMetrics(SM_CXSCREEN),
                GetSystemMetrics(SM_CYSCREEN), rounds);
    std::printf("  first page shown / first page printed: %.3f s / %.3f s = %.2f (goal <= %.1f)\n",
                Median(shown), Median(printed), ratio, firstPageGoal);
    std::printf("  last page shown: %.1f ms (goal <= %.0f ms)\n", lastMs, lastPageGoalMs);
    return ratio <= firstPageGoal && lastMs <= lastPageGoalMs ? 0 : 2;
}
