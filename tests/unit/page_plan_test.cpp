#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "device/page_plan.h"

namespace {

using device::PagePlan;
using device::PaperSpec;
using Pages = std::vector<std::size_t>;

// A4 at 300 dpi with 4 mm unprintable edges: 2480 x 3508 pixels, 47 of them at each edge.
PaperSpec A4() {
    PaperSpec paper;
    paper.metrics = {2480, 3508, 47, 47, 2480 - 94, 3508 - 94};
    paper.dpiX = paper.dpiY = 300;
    return paper;
}

class Square final : public device::PagePicture {
public:
    int Width() const override { return 10; }
    int Height() const override { return 10; }
};

std::vector<std::u16string> Numbered(int count) {
    std::vector<std::u16string> lines;
    for (int n = 1; n <= count; ++n) {
        const std::string text = "line " + std::to_string(n);
        lines.emplace_back(text.begin(), text.end());
    }
    return lines;
}

// The first line of each page, by its number.
std::vector<std::u16string> FirstLines(const PagePlan& plan) {
    std::vector<std::u16string> first;
    for (const device::PlanPage& page : plan.pages) first.push_back(page.texts.front().text);
    return first;
}

TEST(PageUnits, RoundTenthsOfAMillimetreToTheNearestPixelAndBack) {
    EXPECT_EQ(device::TenthsToPixels(254, 300), 300);
    EXPECT_EQ(device::TenthsToPixels(1, 300), 1);     // 1.18
    EXPECT_EQ(device::TenthsToPixels(-50, 600), -118);  // -118.1
    EXPECT_EQ(device::PixelsToTenths(300, 300), 254);
    EXPECT_EQ(device::PixelsToTenths(1, 600), 0);     // 0.42
    EXPECT_EQ(device::PixelsToTenths(5, 0), 0);
    PaperSpec paper = A4();
    EXPECT_EQ(paper.PrintableWidth(), 2020);  // 2386 pixels
    paper.marginLeft = 1500;
    paper.marginRight = 600;
    EXPECT_EQ(paper.PrintableWidth(), 0);  // never negative
}

TEST(PlanText, StacksTheLinesDownThePagesFromTheMarginsAndKeepsEmptyLinesAsSpace) {
    PaperSpec paper = A4();
    paper.marginLeft = 200;
    paper.marginTop = 100;
    auto lines = Numbered(3);
    lines.insert(lines.begin() + 1, u"");
    const PagePlan plan = device::PlanText(paper, {lines, {u"宋体", -50, 0xFF}, 50},
                                           device::UnitScale::ForDpi(300));
    ASSERT_EQ(plan.pages.size(), 1u);
    const auto& texts = plan.pages[0].texts;
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].left, 200);
    EXPECT_EQ(texts[0].top, 100);
    // Each line ends 50 units lower, rounded to pixels, and 2 pixels more: 0, 52, 103.
    EXPECT_EQ(texts[1].text, u"line 2");
    EXPECT_EQ(texts[1].top, 100 + 103);
    EXPECT_EQ(plan.fonts.front().colour, 0xFFu);
}

TEST(PlanText, BreaksPagesWhereTheNextLineWouldEndBelowThePrintableArea) {
    // 2876 units high: 55 lines of 52 units, the 56th would end at 2912.
    const PagePlan plan = device::PlanText(A4(), {Numbered(120), {u"宋体", -50, 0}, 50},
                                           device::UnitScale::ForDpi(300));
    EXPECT_EQ(FirstLines(plan), (std::vector<std::u16string>{u"line 1", u"line 56", u"line 111"}));
    EXPECT_EQ(plan.pages[2].texts.back().text, u"line 120");
    // An empty job is one empty page, as a print of an empty line is.
    EXPECT_EQ(device::PlanText(A4(), {{u""}, {}, 50}, device::UnitScale::ForDpi(300)).pages.size(), 1u);
}

// The test printer's A4 at 300 dpi with no unprintable edge, and its 9-point 宋体 line, 39 units
// high: its prints of the numbered 300 lines (at 20 and at 98 bytes a line, which cut none of
// them) and of the 12,000 lines of the 1 MB text have 72 lines a page.
TEST(PlanText, BreaksAsPrintsOnTheTestPrinterAlwaysHave) {
    PaperSpec paper;
    paper.metrics = {2479, 3508, 0, 0, 2479, 3508};
    paper.dpiX = paper.dpiY = 300;
    const device::UnitScale scale = device::UnitScale::ForDpi(300);
    PagePlan plan = device::PlanText(paper, {Numbered(300), {u"宋体", -31, 0}, 39}, scale);
    EXPECT_EQ(FirstLines(plan), (std::vector<std::u16string>{u"line 1", u"line 73", u"line 145",
                                                            u"line 217", u"line 289"}));
    plan = device::PlanText(paper, {Numbered(12000), {u"宋体", -31, 0}, 39}, scale);
    ASSERT_EQ(plan.pages.size(), 167u);
    for (std::size_t page = 0; page + 1 < plan.pages.size(); ++page) {
        ASSERT_EQ(plan.pages[page].texts.size(), 72u) << page;
    }
    EXPECT_EQ(plan.pages.back().texts.size(), 48u);
}

// Numbers in a column as wide as the largest number's digits and one more; a header and a footer
// in their own font within the margins, the text between them, and each page told its number
// and the true page count once all pages are known.
TEST(PlanText, NumbersLinesAndPutsHeadersAndFootersAroundTheTextWithTheTruePageCount) {
    PaperSpec paper = A4();
    paper.marginLeft = 100;
    paper.marginTop = 100;
    paper.marginBottom = 100;
    const device::UnitScale scale = device::UnitScale::ForDpi(300);
    device::TextPlanRequest request{Numbered(120), {u"宋体", -50, 0}, 50};
    const std::size_t plainLines = device::PlanText(paper, request, scale).pages[0].texts.size();
    for (std::size_t i = 0; i < request.lines.size(); ++i) {
        request.numbers.push_back(i % 2 == 0 ? static_cast<int>(i / 2 + 1) : 0);  // 1 to 60
    }
    request.digitWidth = 25;
    request.header = request.footer = true;
    request.bandFont = {u"宋体", -40, 0};
    request.bandLineHeight = 40;
    request.bands = [](int page, int count) {
        const std::string of = std::to_string(page) + "/" + std::to_string(count);
        return device::PageBands{{u"left", u"", u"right"}, {u"", std::u16string(of.begin(), of.end()), u""}};
    };
    const PagePlan plan = device::PlanText(paper, request, scale);
    ASSERT_EQ(plan.fonts.size(), 2u);
    // The bands take 2 x (40 + 20) units from the text: three lines of 52 units less on a page.
    const auto& page1 = plan.pages[0].texts;
    EXPECT_EQ(std::count_if(page1.begin(), page1.end(), [](const auto& t) { return t.text.starts_with(u"line"); }),
              plainLines - 3);

    const int footerTop = 100 + paper.PrintableHeight() - 40;
    for (std::size_t page = 0; page < plan.pages.size(); ++page) {
        const std::string of = std::to_string(page + 1) + "/" + std::to_string(plan.pages.size());
        std::vector<std::u16string> bands;
        for (const device::TextItem& item : plan.pages[page].texts) {
            if (item.font == 1) {
                bands.push_back(item.text);
                EXPECT_EQ(item.top, item.text == u"left" || item.text == u"right" ? 100 : footerTop);
            } else {
                EXPECT_GE(item.top, 100 + 40 + device::bandGap);
                EXPECT_LE(item.top + 50, footerTop - device::bandGap);
            }
        }
        EXPECT_EQ(bands, (std::vector<std::u16string>{u"left", u"right", std::u16string(of.begin(), of.end())}));
    }
    const auto& first = plan.pages.front().texts;
    // "1" right-aligned at the column's edge, 2 digits from the margin; its line one digit further.
    EXPECT_EQ(first[0].text, u"1");
    EXPECT_EQ(first[0].align, device::TextAlign::right);
    EXPECT_EQ(first[0].left, 150);
    EXPECT_EQ(first[1].text, u"line 1");
    EXPECT_EQ(first[1].left, 175);
    EXPECT_EQ(first[2].text, u"line 2");  // a continuation: no number before it
    EXPECT_EQ(first[2].top, first[1].top + 52);
    EXPECT_EQ(first[3].text, u"2");
    const auto& footer = plan.pages.front().texts.back();
    EXPECT_EQ(footer.align, device::TextAlign::centre);
    EXPECT_EQ(footer.left, 100 + paper.PrintableWidth() / 2);
}

TEST(PlanPicture, CentresThePictureWhereItFitsAndPutsItInTheCornerWhereItDoesNot) {
    PaperSpec paper = A4();
    paper.marginTop = 100;
    const auto square = std::make_shared<Square>();
    PagePlan plan = device::PlanPicture(paper, square, 1000, 500);
    ASSERT_EQ(plan.pages.size(), 1u);
    const device::PictureItem& item = plan.pages[0].pictures.at(0);
    EXPECT_EQ(item.left, (2020 - 1000) / 2);
    EXPECT_EQ(item.top, 100 + (paper.PrintableHeight() - 500) / 2);
    EXPECT_EQ(item.width, 1000);
    plan = device::PlanPicture(paper, square, 5000, 5000);
    EXPECT_EQ(plan.pages[0].pictures.at(0).left, 0);
    EXPECT_EQ(plan.pages[0].pictures.at(0).top, 100);
    EXPECT_TRUE(device::PlanPicture(paper, nullptr, 10, 10).pages.at(0).pictures.empty());
}

TEST(PagesToPrint, TakesTheRangeThenRepeatsItForCopiesCollatedOrNot) {
    EXPECT_EQ(device::PagesToPrint(5, 1, -1, 1, true), (Pages{0, 1, 2, 3, 4}));
    EXPECT_EQ(device::PagesToPrint(5, 2, 3, 1, true), (Pages{1, 2}));
    EXPECT_EQ(device::PagesToPrint(5, 4, 99, 1, true), (Pages{3, 4}));
    EXPECT_EQ(device::PagesToPrint(3, 2, 3, 2, true), (Pages{1, 2, 1, 2}));
    EXPECT_EQ(device::PagesToPrint(3, 2, 3, 2, false), (Pages{1, 1, 2, 2}));
    EXPECT_TRUE(device::PagesToPrint(3, 4, 5, 1, true).empty());
    EXPECT_TRUE(device::PagesToPrint(0, 1, -1, 1, true).empty());
}

}  // namespace
