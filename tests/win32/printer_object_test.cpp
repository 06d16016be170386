// Printing on the test machine's default printer: plans laid out on its paper, jobs run from the
// message loop with their progress dialog, and the renderer drawing a plan's page.
#include "device/printer_object_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "device/job_runner_win.h"
#include "device/page_renderer_win.h"
#include "picture/page_picture_win.h"
#include "picture_files.h"
#include "test_support.h"

namespace {

using device::PrinterObject;
using testing_win::PumpUntil;
using testing_win::WindowText;

constexpr wchar_t progressTitle[] = L"正在进行打印，请稍候 ......";

HWND FindProgressDialog() { return FindWindowW(nullptr, progressTitle); }

// A plain top-level window of this thread, standing in for the program's windows.
class TopLevelWindow {
public:
    TopLevelWindow() {
        handle_ = CreateWindowExW(0, L"STATIC", L"test window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10,
                                  10, 200, 100, nullptr, nullptr, nullptr, nullptr);
    }
    ~TopLevelWindow() { DestroyWindow(handle_); }
    HWND get() const { return handle_; }

private:
    HWND handle_;
};

std::vector<std::u16string> Numbered(int count) {
    std::vector<std::u16string> lines;
    for (int n = 1; n <= count; ++n) {
        const std::wstring line = L"line " + std::to_wstring(1000 + n).substr(1);
        lines.emplace_back(line.begin(), line.end());
    }
    return lines;
}

// The default printer as a print without the dialog takes it.
device::ChosenPrinter DefaultPrinter() {
    device::PrinterChooser chooser;
    device::PrinterSettings settings;
    device::ChooseResult chosen = chooser.Choose(nullptr, false, device::PaperChoice{}, settings);
    EXPECT_TRUE(chosen.printer.has_value()) << chosen.error;
    return std::move(*chosen.printer);
}

// The numbered lines in the program's default text font, 9 points, on the default printer.
std::shared_ptr<const device::PagePlan> NumberedPlan(PrinterObject& printer, HDC dc, int lines) {
    printer.SetFontSize(9);
    return std::make_shared<const device::PagePlan>(
        printer.PlanTextLines(dc, printer.PaperOf(dc), Numbered(lines)));
}

struct Ran {
    bool done = false;
    device::JobOutcome outcome;
};

// Runs a job of the plan's pages from the message loop until it has ended.
Ran RunJob(device::JobRunner& runner, std::shared_ptr<const device::PagePlan> plan,
           std::vector<std::size_t> pages, bool showProgress,
           const std::function<void(device::PrintJob&)>& whileRunning = {}) {
    Ran ran;
    device::JobOutcome failure;
    device::JobSetup setup{L"win32-printer-test", std::move(pages), showProgress, nullptr};
    auto job = device::PrintJob::Start(DefaultPrinter(), std::move(plan), std::move(setup), failure);
    EXPECT_NE(job, nullptr) << failure.error;
    if (!job) return ran;
    if (whileRunning) whileRunning(*job);
    runner.Run(std::move(job), [&ran](const device::JobOutcome& outcome) {
        ran = {true, outcome};
    });
    EXPECT_TRUE(runner.Busy() || ran.done);
    EXPECT_TRUE(PumpUntil([&] { return ran.done; }, std::chrono::seconds(60)));
    return ran;
}

TEST(PrinterObject, FontSizeReadsBackAsWritten) {
    PrinterObject printer;
    printer.SetFontSize(14);
    EXPECT_EQ(printer.FontSize(), 14);
    printer.SetFontSize(-3);  // counts as 0
    EXPECT_EQ(printer.FontSize(), 0);
}

// The test printer offers A4 among its papers, by number, name and size.
TEST(PrinterObject, ListsThePapersOfThePrinterAPrintWouldUse) {
    PrinterObject printer;
    const std::vector<device::PaperName> papers = printer.Papers();
    ASSERT_FALSE(papers.empty());
    const auto a4 = std::find_if(papers.begin(), papers.end(), [](const auto& paper) { return paper.number == DMPAPER_A4; });
    ASSERT_NE(a4, papers.end());
    EXPECT_FALSE(a4->name.empty());
    EXPECT_NEAR(a4->width, 2100, 2);  // drivers round from points
    EXPECT_NEAR(a4->height, 2970, 2);
}

TEST(PrinterObject, TextPlanOnTheDefaultPrinterBreaksPagesAsItsPrintsDo) {
    PrinterObject printer;
    device::ChosenPrinter chosen = DefaultPrinter();
    const auto plan = NumberedPlan(printer, chosen.dc.get(), 300);
    // The pages a print of these lines at 9 points has always had on this printer.
    std::vector<std::u16string> firstLines;
    for (const device::PlanPage& page : plan->pages) firstLines.push_back(page.texts.front().text);
    EXPECT_EQ(firstLines, (std::vector<std::u16string>{u"line 001", u"line 073", u"line 145",
                                                       u"line 217", u"line 289"}));
    // The font is 9 points of a 96-dpi screen in 0.1 mm.
    EXPECT_EQ(plan->fonts.front().height, -31);
    // Margins move every line.
    printer.Settings().marginLeft = 200;
    EXPECT_EQ(printer.PlanTextLines(chosen.dc.get(), printer.PaperOf(chosen.dc.get()), Numbered(1))
                  .pages[0].texts[0].left, 200);
}

TEST(PrintJob, RunsFromTheMessageLoopBehindAProgressDialogThatDisablesTheOtherWindows) {
    TopLevelWindow enabled;
    TopLevelWindow disabled;
    EnableWindow(disabled.get(), FALSE);
    PrinterObject printer;
    device::ChosenPrinter chosen = DefaultPrinter();
    const auto plan = NumberedPlan(printer, chosen.dc.get(), 120);
    ASSERT_EQ(plan->pages.size(), 2u);  // 72 lines a page
    device::JobRunner runner;
    std::wstring lines;
    const Ran ran = RunJob(runner, plan, {1, 0}, true, [&](device::PrintJob&) {
        HWND progress = FindProgressDialog();
        ASSERT_NE(progress, nullptr);
        EXPECT_FALSE(IsWindowEnabled(enabled.get()));
        for (HWND child = GetWindow(progress, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            lines += WindowText(child) + L"\n";
        }
    });
    EXPECT_NE(lines.find(L"打印作业名：\nwin32-printer-test\n"), std::wstring::npos) << lines;
    EXPECT_NE(lines.find(L"打印目的：\nMozhouPDF 上的 "), std::wstring::npos) << lines;
    EXPECT_NE(lines.find(L"当前页号：\n2\n"), std::wstring::npos) << lines;  // the first one printed
    EXPECT_EQ(ran.outcome.end, device::JobEnd::printed);
    EXPECT_EQ(ran.outcome.pagesPrinted, 2u);
    EXPECT_FALSE(runner.Busy());
    EXPECT_EQ(FindProgressDialog(), nullptr);
    EXPECT_TRUE(IsWindowEnabled(enabled.get()));
    EXPECT_FALSE(IsWindowEnabled(disabled.get()));  // back to how it was
}

TEST(PrintJob, AbortButtonEndsTheJobAfterThePageUnderWay) {
    PrinterObject printer;
    device::ChosenPrinter chosen = DefaultPrinter();
    const auto plan = NumberedPlan(printer, chosen.dc.get(), 300);
    device::JobRunner runner;
    const Ran ran = RunJob(runner, plan, {0, 1, 2, 3}, true, [](device::PrintJob& job) {
        ASSERT_TRUE(job.Step());  // the first page, whole
        PostMessageW(GetDlgItem(FindProgressDialog(), IDCANCEL), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(ran.outcome.end, device::JobEnd::aborted);
    EXPECT_EQ(ran.outcome.pagesPrinted, 1u);
    EXPECT_EQ(ran.outcome.pageCount, 4u);
    EXPECT_EQ(FindProgressDialog(), nullptr);
}

// An output file that cannot be written fails the job, at its start or at its end (under Wine),
// with the reason Windows gives.
TEST(PrintJob, ADocumentThatCannotBeWrittenReportsWhyAndAJobDroppedMidwayIsAborted) {
    PrinterObject printer;
    device::ChosenPrinter chosen = DefaultPrinter();
    const auto plan = NumberedPlan(printer, chosen.dc.get(), 10);
    chosen.outputFile = L"Z:\\no such folder\\at all\\output.prn";
    device::JobOutcome failure;
    auto job = device::PrintJob::Start(std::move(chosen), plan, {L"win32-failing", {0}, true, nullptr},
                                       failure);
    if (job) {
        while (job->Step()) {
        }
        job->EndDocument();
        failure = job->Outcome();
    }
    EXPECT_EQ(failure.end, device::JobEnd::failed);
    EXPECT_NE(failure.error, 0u);
    job.reset();
    EXPECT_EQ(FindProgressDialog(), nullptr);

    job = device::PrintJob::Start(DefaultPrinter(), plan, {L"win32-dropped", {0, 0}, false, nullptr},
                                  failure);
    ASSERT_NE(job, nullptr);
    EXPECT_TRUE(job->Step());
    job.reset();  // aborts the document: nothing of it is printed
}

// A plan's page drawn on a bitmap at two scales puts its text and picture at the same places on
// the paper.
TEST(PageRenderer, DrawsAPageAtAnyScale) {
    device::PaperSpec paper;
    paper.metrics = {850, 1100, 0, 0, 850, 1100};  // Letter at 100 dpi
    paper.dpiX = paper.dpiY = 100;
    auto plan = std::make_shared<device::PagePlan>();
    plan->paper = paper;
    plan->fonts.push_back({u"宋体", -100, RGB(0, 0, 0)});
    plan->pages.emplace_back();
    plan->pages[0].texts.push_back({254, 254, u"WWWW", 0});  // 1 inch from the corner
    auto red = picture::PictureObject::FromBytes(testing_win::SolidBmp(4, 4, RGB(255, 0, 0)));
    ASSERT_TRUE(red.has_value());
    device::PictureItem item;
    item.picture = std::make_shared<picture::PagePictureOf>(
        std::make_shared<const picture::PictureObject>(std::move(*red)));
    item.left = 508;
    item.top = 1016;
    item.width = item.height = 254;  // 1 inch square, 2 by 4 inches from the corner
    plan->pages[0].pictures.push_back(item);
    device::PageRenderer renderer(plan);

    for (const double dpi : {50.0, 100.0}) {
        const int width = static_cast<int>(8.5 * dpi);
        const int height = static_cast<int>(11 * dpi);
        BITMAPINFO info{};
        info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB};
        void* bits = nullptr;
        const ui::Bitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        const ui::MemoryDc dc(CreateCompatibleDC(nullptr));
        ASSERT_TRUE(bitmap && dc);
        const ui::SelectObjectScope selected(dc.get(), bitmap.get());
        PatBlt(dc.get(), 0, 0, width, height, WHITENESS);
        ASSERT_EQ(renderer.StepCount(dc.get(), 0), 2u);
        renderer.DrawPage(dc.get(), {0, 0, dpi, dpi}, 0);
        GdiFlush();
        const auto pixel = [&](double x, double y) {
            return static_cast<const std::uint32_t*>(bits)[static_cast<int>(y * dpi) * width +
                                                           static_cast<int>(x * dpi)] & 0xFFFFFF;
        };
        EXPECT_EQ(pixel(2.5, 4.5), 0xFF0000u) << dpi;  // inside the picture (BGRA: red)
        EXPECT_EQ(pixel(1.9, 4.5), 0xFFFFFFu) << dpi;
        EXPECT_EQ(pixel(3.1, 4.5), 0xFFFFFFu) << dpi;
        // The text lies right of and below its inch, within the line's 10 mm.
        bool inked = false;
        for (double x = 1.0; x < 2.0; x += 1 / dpi) {
            for (double y = 1.0; y < 1.39; y += 1 / dpi) inked = inked || pixel(x, y) != 0xFFFFFFu;
        }
        EXPECT_TRUE(inked) << dpi;
        EXPECT_EQ(pixel(0.9, 1.2), 0xFFFFFFu) << dpi;
    }
}

}  // namespace
