// Printing speed: a megabyte of text printed on the default printer the way the program prints
// (the printer chosen without a dialog, the lines planned on its paper by the printer object, the
// job stepped to its end), beside a bare GDI loop that prints the same lines with the same font
// on the same printer, both measured in the same run. Only spooling is timed, from taking the
// default printer until the job's device context is gone, and within it the first page: until
// the first EndPage has returned. Turning the job into paper, or here into a PDF, happens after
// that and is not waited for. Last, the same lines are printed once from a message loop by the
// job runner, and the longest the loop kept a message waiting is shown.
//
// A third run in each round prints the same lines the way a text with a page setup prints: a
// header with the file's name and a footer "第 &p 页 / 共 &P 页", beside the printer object's
// run without them.
//
// Usage: bench_print [rounds] [lines]. Without lines, or with 0, the whole text is printed, about
// 12,000 lines; a number prints that many lines from its start.
//
// The bare loop works in MM_TEXT. Its font height is the printer object's: the screen font
// height for the size, in 0.1 mm as the printer object computes it, turned into device pixels at
// the device's pixels per inch, as the printer object scales 0.1 mm.
// The face is matched by name (DEFAULT_CHARSET) on top of the default GUI font, as there. Both
// runs' page counts are printed; they may differ by a little, as the printer object measures
// lines in 0.1 mm and the bare loop in pixels.
#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bench/bench_support.h"
#include "device/printer_font_height.h"
#include "bench/print_path.h"
#include "device/printer_object_win.h"
#include "text/print_text_job_win.h"
#include "ui/handles_win.h"

namespace {

using namespace bench;

constexpr int defaultRounds = 3;
constexpr int fontPoints = 12;
constexpr wchar_t fontFace[] = L"宋体";
constexpr int lineGapPixels = 2;
// Before each run the machine is given time to finish the PDF of the job before, which would
// otherwise compete with the spooling: the run starts once the processors are mostly idle.
constexpr DWORD settleSampleMs = 500;
constexpr double settledIdleShare = 0.85;
constexpr ULONGLONG settleTimeoutMs = 90 * 1000;
constexpr double fileTimeUnitsPerSecond = 1e7;

// A run that takes longer than this has hung (say on a dialog nobody answers).
constexpr ULONGLONG runTimeoutBaseMs = 2 * 60 * 1000;
constexpr ULONGLONG runTimeoutPerLineMs = 1000;
constexpr wchar_t ourDocument[] = L"bench-printer-object";
constexpr wchar_t bareDocument[] = L"bench-bare-loop";
constexpr double firstPageGoal = 1.0;
constexpr double longestWaitGoalMs = 100;
constexpr double bandsGoal = 1.05;

ULONGLONG FileTimeValue(const FILETIME& time) {
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// Processor time this process has used, user and kernel, in seconds. Wine's work for the
// process happens mostly inside it, so this is less disturbed by other load than the clock.
double ProcessorSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    return static_cast<double>(FileTimeValue(kernel) + FileTimeValue(user)) / fileTimeUnitsPerSecond;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

int ScreenDpiY() {
    const ui::WindowDc screen(nullptr);
    return GetDeviceCaps(screen.get(), LOGPIXELSY);
}

// The character height in device pixels of the font selected into dc, whatever its mapping mode.
int SelectedFontPixelHeight(HDC dc) {
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    POINT points[2] = {{0, 0}, {0, metrics.tmHeight - metrics.tmInternalLeading}};
    LPtoDP(dc, points, 2);
    return std::abs(points[1].y - points[0].y);
}

// Waits until two samples in a row find the processors at least settledIdleShare idle; false
// when that did not happen within settleTimeoutMs.
bool WaitForIdleMachine() {
    const ULONGLONG giveUp = GetTickCount64() + settleTimeoutMs;
    int idleSamples = 0;
    FILETIME idle, kernel, user;
    GetSystemTimes(&idle, &kernel, &user);
    while (GetTickCount64() < giveUp) {
        const ULONGLONG idleBefore = FileTimeValue(idle);
        const ULONGLONG busyBefore = FileTimeValue(kernel) + FileTimeValue(user);  // kernel includes idle
        Sleep(settleSampleMs);
        GetSystemTimes(&idle, &kernel, &user);
        const ULONGLONG idleSpent = FileTimeValue(idle) - idleBefore;
        const ULONGLONG allSpent = FileTimeValue(kernel) + FileTimeValue(user) - busyBefore;
        const bool idleNow = allSpent > 0 && static_cast<double>(idleSpent) >= settledIdleShare * allSpent;
        idleSamples = idleNow ? idleSamples + 1 : 0;
        if (idleSamples >= 2) return true;
    }
    return false;
}

// Wine numbers each process's print jobs from 1 and names the spool file after the number, so
// a job fails to start while another program in the same prefix spools one with that number.
void ExplainSpoolClash(DWORD error) {
    if (error == ERROR_SHARING_VIOLATION) {
        std::fprintf(stderr, "the spool file is in use: is another program printing in this Wine prefix?\n");
    }
}

struct RunResult {
    double seconds = 0;
    double firstPage = 0;  // seconds until the first EndPage returned
    int pages = 0;
    int fontPixels = 0;  // the bare loop's character height, device pixels
    std::wstring printer;
};

// The lines as the text job prepares them, with a header and a footer.
std::shared_ptr<const text::PreparedText> TextWithBands(const std::vector<std::u16string>& lines) {
    static text::PageSetup setup;
    setup.header.centre = u"&f";
    setup.footer.centre = u"第 &p 页 / 共 &P 页";
    auto prepared = std::make_shared<text::PreparedText>();
    prepared->lines.lines = lines;
    prepared->lines.numbers.assign(lines.size(), 0);
    prepared->setup = &setup;
    prepared->fileName = u"报告.txt";
    return prepared;
}

// Run A: the program's path, the job stepped to its end; with a header and a footer when asked.
std::optional<RunResult> PrintThroughPrinterObject(const std::vector<std::u16string>& lines, bool bands = false) {
    device::PrinterObject printer;
    printer.SetFontSize(fontPoints);
    printer.SetFontFaceName(fontFace);
    RunResult result;
    const LONGLONG start = Now();
    StartedJob started = StartJob(
        printer, bands ? text::TextLayOut(TextWithBands(lines), printer) : TextLayOut(printer, lines), ourDocument);
    if (!started.job) return std::nullopt;
    while (started.job->Step()) {
        if (result.firstPage == 0 && started.job->Outcome().pagesPrinted == 1) result.firstPage = Seconds(Now() - start);
    }
    const device::JobOutcome outcome = started.job->Outcome();
    started.job.reset();
    result.seconds = Seconds(Now() - start);
    if (outcome.end != device::JobEnd::printed) {
        std::fprintf(stderr, "the job did not print (error %lu)\n", outcome.error);
        return std::nullopt;
    }
    result.pages = static_cast<int>(outcome.pagesPrinted);
    result.printer = started.printer;
    return result;
}

struct PrintDlgHandles {
    PRINTDLGW dialog{sizeof(PRINTDLGW)};
    ~PrintDlgHandles() {
        if (dialog.hDevMode != nullptr) GlobalFree(dialog.hDevMode);
        if (dialog.hDevNames != nullptr) GlobalFree(dialog.hDevNames);
    }
};

std::wstring DeviceNameOf(HGLOBAL devNames) {
    if (devNames == nullptr) return {};
    const auto* names = static_cast<const DEVNAMES*>(GlobalLock(devNames));
    if (names == nullptr) return {};
    std::wstring name = reinterpret_cast<const wchar_t*>(names) + names->wDeviceOffset;
    GlobalUnlock(devNames);
    return name;
}

// The printer object's font height for the size, in device pixels of dc.
int FontPixelHeight(HDC dc) {
    const int screenDpi = ScreenDpiY();
    const int tenthMillimetres = device::PrinterFontHeight(ui::FontHeightForSize(fontPoints, screenDpi), screenDpi,
                                                           device::DrawingUnit::TenthMillimetre,
                                                           GetDeviceCaps(dc, LOGPIXELSY));
    return MulDiv(tenthMillimetres, GetDeviceCaps(dc, LOGPIXELSY), 254);
}

// Run B's job: the same lines with plain GDI calls on the default printer.
bool PrintWithBareLoop(const std::vector<std::u16string>& lines, RunResult& result, LONGLONG start) {
    PrintDlgHandles handles;
    handles.dialog.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
    if (!PrintDlgW(&handles.dialog) || handles.dialog.hDC == nullptr) {
        std::fprintf(stderr, "no default printer (PrintDlgW error %lu)\n", CommDlgExtendedError());
        return false;
    }
    result.printer = DeviceNameOf(handles.dialog.hDevNames);
    const ui::MemoryDc dc(handles.dialog.hDC);  // a printer DC is deleted like a memory DC

    LOGFONTW font{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    font.lfHeight = -FontPixelHeight(dc.get());
    font.lfWidth = 0;
    font.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(font.lfFaceName, fontFace, LF_FACESIZE - 1);
    const ui::Font printerFont(CreateFontIndirectW(&font));
    const ui::SelectObjectScope selected(dc.get(), printerFont.get());
    SetBkMode(dc.get(), TRANSPARENT);
    SetTextColor(dc.get(), RGB(0, 0, 0));
    result.fontPixels = SelectedFontPixelHeight(dc.get());

    DOCINFOW document{sizeof document};
    document.lpszDocName = bareDocument;
    if (StartDocW(dc.get(), &document) <= 0) {
        const DWORD error = GetLastError();
        std::fprintf(stderr, "StartDocW failed (error %lu)\n", error);
        ExplainSpoolClash(error);
        return false;
    }
    const int pageHeight = GetDeviceCaps(dc.get(), VERTRES);
    StartPage(dc.get());
    result.pages = 1;
    int y = 0;
    for (const std::u16string& line : lines) {
        const auto* wide = reinterpret_cast<const wchar_t*>(line.data());
        const int length = static_cast<int>(line.size());
        SIZE extent{};
        GetTextExtentPoint32W(dc.get(), wide, length, &extent);
        if (y > 0 && y + extent.cy > pageHeight) {
            EndPage(dc.get());
            if (result.pages == 1) result.firstPage = Seconds(Now() - start);
            StartPage(dc.get());
            ++result.pages;
            y = 0;
        }
        TextOutW(dc.get(), 0, y, wide, length);
        y += extent.cy + lineGapPixels;
    }
    EndPage(dc.get());
    if (result.pages == 1) result.firstPage = Seconds(Now() - start);
    EndDoc(dc.get());
    return true;
}

// Run B, timed from asking for the default printer until its device context is gone.
std::optional<RunResult> PrintWithBareLoop(const std::vector<std::u16string>& lines) {
    RunResult result;
    const LONGLONG start = Now();
    if (!PrintWithBareLoop(lines, result, start)) return std::nullopt;
    result.seconds = Seconds(Now() - start);
    return result;
}

// A run that never ends stops the bench instead of hanging it.
std::atomic<ULONGLONG> runDeadline{0};

DWORD WINAPI Watchdog(void*) {
    for (;;) {
        Sleep(1000);
        const ULONGLONG deadline = runDeadline.load();
        if (deadline != 0 && GetTickCount64() > deadline) {
            std::fprintf(stderr, "a print run did not end in time; giving up\n");
            std::fflush(stderr);
            ExitProcess(3);
        }
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int rounds = argc > 1 ? std::max(1, _wtoi(argv[1])) : defaultRounds;
    const std::u16string text = MakeWideText();
    const std::vector<std::u16string_view> allLines = LinesOf(text);
    const std::size_t wanted = argc > 2 ? static_cast<std::size_t>(std::max(0, _wtoi(argv[2]))) : 0;
    const std::vector<std::u16string> lines(
        allLines.begin(), allLines.begin() + (wanted == 0 ? allLines.size() : std::min(wanted, allLines.size())));
    std::size_t printedUnits = 0;
    for (const std::u16string& line : lines) printedUnits += line.size() + 2;
    const double lineCount = static_cast<double>(lines.size());
    const ui::KernelHandle watchdog(CreateThread(nullptr, 0, Watchdog, nullptr, 0, nullptr));

    std::vector<double> ours, bare, banded, oursFirst, bareFirst, oursProcessor, bareProcessor;
    RunResult lastOurs;
    RunResult lastBare;
    int unsettledRuns = 0;
    // Alternate which one goes first, so that whatever going first or second brings weighs on both.
    for (int round = 0; round < rounds; ++round) {
        for (int turn = 0; turn < 2; ++turn) {
            const bool oursNow = (turn == 0) == (round % 2 == 0);
            if (!WaitForIdleMachine()) ++unsettledRuns;
            runDeadline = GetTickCount64() + runTimeoutBaseMs + runTimeoutPerLineMs * lines.size();
            const double processorBefore = ProcessorSeconds();
            const std::optional<RunResult> result = oursNow ? PrintThroughPrinterObject(lines) : PrintWithBareLoop(lines);
            if (!result) return 1;
            const double processorSeconds = ProcessorSeconds() - processorBefore;
            (oursNow ? ours : bare).push_back(result->seconds);
            (oursNow ? oursFirst : bareFirst).push_back(result->firstPage);
            (oursNow ? oursProcessor : bareProcessor).push_back(processorSeconds);
            (oursNow ? lastOurs : lastBare) = *result;
            runDeadline = 0;
            std::printf("  round %d  %-15s %8.3f s  (processor %7.3f s)  %5d pages, first page %.3f s\n", round + 1,
                        oursNow ? "printer object" : "bare loop", result->seconds, processorSeconds, result->pages,
                        result->firstPage);
            std::fflush(stdout);
        }
        if (!WaitForIdleMachine()) ++unsettledRuns;
        runDeadline = GetTickCount64() + runTimeoutBaseMs + runTimeoutPerLineMs * lines.size();
        const std::optional<RunResult> withBands = PrintThroughPrinterObject(lines, true);
        if (!withBands) return 1;
        runDeadline = 0;
        banded.push_back(withBands->seconds);
        std::printf("  round %d  %-15s %8.3f s  %5d pages\n", round + 1, "header, footer", withBands->seconds,
                    withBands->pages);
        std::fflush(stdout);
    }

    // The same job once more, from a message loop.
    if (!WaitForIdleMachine()) ++unsettledRuns;
    runDeadline = GetTickCount64() + runTimeoutBaseMs + runTimeoutPerLineMs * lines.size();
    device::PrinterObject printer;
    printer.SetFontSize(fontPoints);
    printer.SetFontFaceName(fontFace);
    StartedJob started = StartJob(printer, TextLayOut(printer, lines), ourDocument);
    if (!started.job) return 1;
    const LoopWaits waits = RunMeasuringWaits(std::move(started.job));
    runDeadline = 0;

    const double oursMedian = Median(ours);
    const double bareMedian = Median(bare);
    const double firstRatio = Median(oursFirst) / Median(bareFirst);
    std::printf("printing %zu of %zu lines (%zu of %zu UTF-16 units) on %s, median of %d rounds\n",
                lines.size(), allLines.size(), printedUnits, text.size(), Utf8(lastOurs.printer).c_str(), rounds);
    std::printf("  font           %s %d pt, %d device pixels high\n", Utf8(fontFace).c_str(), fontPoints,
                lastBare.fontPixels);
    std::printf("  pages          %d (bare loop %d)\n", lastOurs.pages, lastBare.pages);
    std::printf("  printer object %9.1f lines/s  %8.3f s\n", lineCount / oursMedian, oursMedian);
    std::printf("  bare loop      %9.1f lines/s  %8.3f s\n", lineCount / bareMedian, bareMedian);
    std::printf("  ratio          %9.2f (time, goal <= 1.10)\n", oursMedian / bareMedian);
    std::printf("  header, footer %9.2f times the printer object's without them (%.3f s; goal <= %.2f)\n",
                Median(banded) / oursMedian, Median(banded), bandsGoal);
    std::printf("  processor time %9.2f times the bare loop's (%.3f s / %.3f s)\n",
                Median(oursProcessor) / Median(bareProcessor), Median(oursProcessor), Median(bareProcessor));
    std::printf("  first page     %9.2f times the bare loop's (%.3f s / %.3f s; goal <= %.1f)\n", firstRatio,
                Median(oursFirst), Median(bareFirst), firstPageGoal);
    std::printf("  from the message loop: %zu pages in %.3f s; %d messages posted every 5 ms waited at most "
                "%.1f ms while drawing, %.1f ms in the last turn (EndDoc) (goal <= %.0f ms)\n",
                waits.outcome.pagesPrinted, waits.seconds, waits.messages, waits.longestMs, waits.endMs,
                longestWaitGoalMs);
    if (unsettledRuns > 0) {
        std::printf("  note: %d of %d runs started on a busy machine; the figures are less certain\n", unsettledRuns,
                    3 * rounds + 1);
    }
    return 0;
}
