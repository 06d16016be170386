// The printer object on the test machine's default printer, without the print dialog.
#include "device/printer_object_win.h"

#include <gtest/gtest.h>

#include <string>

#include "test_support.h"

namespace {

using device::PrinterObject;
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

void StartQuietJob(PrinterObject& printer, bool showProgress = false) {
    printer.documentName = L"win32-printer-test";
    ASSERT_TRUE(printer.StartPrinting(false, showProgress));
}

TEST(PrinterObject, IdleObjectReportsNoJobAndIgnoresOutput) {
    PrinterObject printer;
    EXPECT_FALSE(printer.JobRunning());
    EXPECT_EQ(printer.PrintableWidth(), 0);
    EXPECT_EQ(printer.PrintableHeight(), 0);
    EXPECT_EQ(printer.PageNumber(), 1);
    EXPECT_EQ(printer.CopiesPrinted(), 1);
    EXPECT_TRUE(printer.GetPrinterName().empty());
    printer.PrintTextLines("nothing runs");
    printer.EndPrinting();
    EXPECT_FALSE(printer.JobRunning());
}

TEST(PrinterObject, FontSizeReadsBackAsWritten) {
    PrinterObject printer;
    printer.SetFontSize(14);
    EXPECT_EQ(printer.FontSize(), 14);
    printer.SetFontSize(-3);  // counts as 0
    EXPECT_EQ(printer.FontSize(), 0);
}

TEST(PrinterObject, JobOnTheDefaultPrinterBreaksPagesAndKeepsThePrinterName) {
    PrinterObject printer;
    printer.SetFontSize(14);
    printer.SetFontFaceName(L"宋体");
    StartQuietJob(printer);
    EXPECT_TRUE(printer.JobRunning());
    EXPECT_EQ(printer.GetPrinterName(), L"MozhouPDF");
    // A4 less the unprintable edges, in 0.1 mm.
    EXPECT_GT(printer.PrintableWidth(), 1800);
    EXPECT_LE(printer.PrintableWidth(), 2100);
    EXPECT_GT(printer.PrintableHeight(), 2500);
    EXPECT_LE(printer.PrintableHeight(), 2970);

    // 14 points is 5 mm of font height: some 50 lines fill a page, and every page holds as many.
    int linesOnFirstPage = 0;
    while (printer.PageNumber() == 1 && linesOnFirstPage < 500) {
        printer.PrintTextLines("行 line");
        ++linesOnFirstPage;
    }
    const int linesPerPage = linesOnFirstPage - 1;  // the last one went onto page 2
    EXPECT_GT(linesPerPage, 40);
    EXPECT_LT(linesPerPage, 60);
    // Line breaks inside one call start lines too; the empty lines count as well.
    std::string block;
    for (int line = 1; line < linesPerPage; ++line) block += line % 2 ? "a\r\n" : "\r\n";
    printer.PrintTextLines(block.substr(0, block.size() - 2));
    EXPECT_EQ(printer.PageNumber(), 2);
    printer.PrintTextLines("first line of page 3");
    EXPECT_EQ(printer.PageNumber(), 3);

    printer.EndPrinting();
    EXPECT_FALSE(printer.JobRunning());
    EXPECT_EQ(printer.GetPrinterName(), L"MozhouPDF");
    EXPECT_EQ(printer.PageNumber(), 1);
}

TEST(PrinterObject, SecondStartWhileAJobRunsIsRefusedAndTheJobGoesOn) {
    PrinterObject printer;
    StartQuietJob(printer);
    EXPECT_FALSE(printer.StartPrinting(false, false));
    EXPECT_TRUE(printer.GetPrinterName().empty());
    EXPECT_TRUE(printer.JobRunning());
    printer.EndPrinting();
}

TEST(PrinterObject, ProgressDialogDisablesTheOtherWindowsUntilTheJobEnds) {
    TopLevelWindow enabled;
    TopLevelWindow disabled;
    EnableWindow(disabled.get(), FALSE);
    PrinterObject printer;
    StartQuietJob(printer, true);

    HWND progress = FindProgressDialog();
    ASSERT_NE(progress, nullptr);
    EXPECT_TRUE(IsWindowVisible(progress));
    EXPECT_FALSE(IsWindowEnabled(enabled.get()));
    std::wstring lines;
    for (HWND child = GetWindow(progress, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        lines += WindowText(child) + L"\n";
    }
    EXPECT_NE(lines.find(L"打印作业名：\nwin32-printer-test\n"), std::wstring::npos) << lines;
    EXPECT_NE(lines.find(L"打印目的：\nMozhouPDF 上的 "), std::wstring::npos) << lines;
    EXPECT_NE(lines.find(L"已打印份数：\n1\n"), std::wstring::npos) << lines;
    EXPECT_NE(lines.find(L"当前页号：\n1\n"), std::wstring::npos) << lines;
    EXPECT_NE(lines.find(L"中止打印"), std::wstring::npos) << lines;

    printer.EndPrinting();
    EXPECT_EQ(FindProgressDialog(), nullptr);
    EXPECT_TRUE(IsWindowEnabled(enabled.get()));
    EXPECT_FALSE(IsWindowEnabled(disabled.get()));  // back to how it was
}

TEST(PrinterObject, AbortButtonEndsTheJobAndLaterLinesDoNothing) {
    PrinterObject printer;
    StartQuietJob(printer, true);
    printer.PrintTextLines("first page");
    HWND progress = FindProgressDialog();
    ASSERT_NE(progress, nullptr);
    PostMessageW(GetDlgItem(progress, IDCANCEL), BM_CLICK, 0, 0);

    printer.PrintTextLines("handled the click, then stopped");
    EXPECT_FALSE(printer.JobRunning());
    EXPECT_EQ(FindProgressDialog(), nullptr);
    EXPECT_EQ(printer.GetPrinterName(), L"MozhouPDF");
    printer.PrintTextLines("after the end");
    EXPECT_FALSE(printer.JobRunning());
}

}  // namespace
