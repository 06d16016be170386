// A preview records the pages a print of the same lines makes, on the same printer.
#include <gtest/gtest.h>

#include <span>
#include <string>
#include <vector>

#include "device/printer_object_win.h"

namespace {

using device::PrinterObject;

struct TextRecord {
    std::wstring text;
    POINTL at{};
};

int CALLBACK CollectText(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM found) {
    if (record->iType == EMR_EXTTEXTOUTW) {
        const auto* text = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
        const auto* chars = reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(record) +
                                                             text->emrtext.offString);
        reinterpret_cast<std::vector<TextRecord>*>(found)->push_back(
            {std::wstring(chars, text->emrtext.nChars), text->emrtext.ptlReference});
    }
    return 1;
}

// The text a page's metafile writes, in the order it writes it.
std::vector<TextRecord> TextsOf(HENHMETAFILE page) {
    std::vector<TextRecord> texts;
    EnumEnhMetaFile(nullptr, page, CollectText, &texts, nullptr);
    return texts;
}

TEST(PrintPreview, RecordsThePagesAPrintMakesWithTheSameLinesOnEach) {
    std::vector<std::wstring> lines;
    for (int n = 1; n <= 300; ++n) lines.push_back(L"line " + std::to_wstring(n));

    // Where a print of the lines, one call each, starts its pages.
    PrinterObject printer;
    printer.SetFontSize(12);
    printer.SetFontFaceName(L"宋体");
    printer.documentName = L"win32-preview-test";
    ASSERT_TRUE(printer.StartPrinting(false, false));
    std::vector<std::wstring> firstLines{lines.front()};
    for (const std::wstring& line : lines) {
        const int page = printer.PageNumber();
        printer.PrintTextLines(std::span(&line, 1));
        if (printer.PageNumber() != page) firstLines.push_back(line);
    }
    printer.EndPrinting();
    ASSERT_GT(firstLines.size(), 2u);

    int finished = 0;
    ASSERT_TRUE(printer.StartPreview([&] { ++finished; }));
    EXPECT_TRUE(printer.Previewing());
    printer.PrintTextLines(lines);
    printer.EndPrinting();
    const auto& pages = printer.PreviewPages();
    ASSERT_EQ(pages.size(), firstLines.size());
    EXPECT_EQ(finished, static_cast<int>(pages.size()));
    std::size_t next = 0;
    for (std::size_t page = 0; page < pages.size(); ++page) {
        const std::vector<TextRecord> texts = TextsOf(pages[page].get());
        ASSERT_FALSE(texts.empty());
        EXPECT_EQ(texts.front().text, firstLines[page]);
        EXPECT_EQ(texts.front().text, lines[next]);
        next += texts.size();
    }
    EXPECT_EQ(next, lines.size());

    // Margins move the lines on the preview's pages as on paper (drawn in 0.1 mm).
    printer.Settings().marginLeft = 200;
    ASSERT_TRUE(printer.StartPreview());
    printer.PrintTextLines(std::span(lines).first(1));
    printer.EndPrinting();
    ASSERT_EQ(printer.PreviewPages().size(), 1u);
    const POINTL at = TextsOf(printer.PreviewPages().front().get()).front().at;
    EXPECT_EQ(at.x, 200);
}

}  // namespace
