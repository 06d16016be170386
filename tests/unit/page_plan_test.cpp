#include <gtest/gtest.h>

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
