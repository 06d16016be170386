// Laying out the printing benchmarks' megabyte of text (about 12,000 lines) as a page plan on an
// A4 page at 600 dpi, beside a bare loop that places the same lines with the same arithmetic into
// plain vectors, measured in the same run. Only the layout is timed: the lines are split first.
//
// Usage: plan_bench [rounds]. Goal: the plan within 20 ms.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_text.h"
#include "device/page_plan.h"

namespace {

constexpr int defaultRounds = 15;
constexpr double goalMs = 20;
constexpr int dpi = 600;
constexpr int lineHeight = 42;  // 12 points of a 96-dpi screen, in 0.1 mm
constexpr int margin = 200;     // 20 mm all round

device::PaperSpec A4() {
    device::PaperSpec paper;
    paper.metrics = {4961, 7016, 100, 100, 4761, 6816};
    paper.dpiX = paper.dpiY = dpi;
    paper.marginLeft = paper.marginTop = paper.marginRight = paper.marginBottom = margin;
    return paper;
}

struct Item {
    int left = 0;
    int top = 0;
    std::u16string text;
};

// The plan's arithmetic written out: a new page when a line would end below the page, and the
// next line below this one by its height and 2 device pixels.
std::vector<std::vector<Item>> BareLayout(const device::PaperSpec& paper,
                                          const std::vector<std::u16string>& lines) {
    const int pageHeight = device::LengthInsideMargins(
        device::PixelsToTenths(paper.metrics.UsableHeight(), dpi), paper.marginTop, paper.marginBottom);
    std::vector<std::vector<Item>> pages(1);
    int top = 0;
    for (const std::u16string& line : lines) {
        if (top > 0 && top + lineHeight > pageHeight) {
            pages.emplace_back();
            top = 0;
        }
        if (!line.empty()) pages.back().push_back({paper.marginLeft, paper.marginTop + top, line});
        top = device::PixelsToTenths(device::TenthsToPixels(top + lineHeight, dpi) + device::lineGapPixels, dpi);
    }
    return pages;
}

template <typename Layout>
double MedianMs(int rounds, std::size_t& pages, Layout layout) {
    std::vector<double> times;
    for (int round = 0; round < rounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        const auto result = layout();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        pages = result.size();  // the result is dropped after the clock has stopped
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : defaultRounds;
    const std::u16string text = bench::MakeWideText();
    device::TextPlanRequest request;
    for (const std::u16string_view line : bench::LinesOf(text)) request.lines.emplace_back(line);
    request.font = {u"宋体", -lineHeight, 0};
    request.lineHeight = lineHeight;
    const device::PaperSpec paper = A4();
    const device::UnitScale scale = device::UnitScale::ForDpi(dpi);

    std::size_t planPages = 0;
    std::size_t barePages = 0;
    const double planMs = MedianMs(rounds, planPages, [&] { return device::PlanText(paper, request, scale).pages; });
    const double bareMs = MedianMs(rounds, barePages, [&] { return BareLayout(paper, request.lines); });
    std::printf("text plan of %zu lines (%zu UTF-16 units) on A4 at %d dpi, median of %d rounds\n",
                request.lines.size(), text.size(), dpi, rounds);
    std::printf("  plan       %8.2f ms  %5zu pages (goal <= %.0f ms)\n", planMs, planPages, goalMs);
    std::printf("  bare loop  %8.2f ms  %5zu pages\n", bareMs, barePages);
    std::printf("  ratio      %8.2f\n", planMs / bareMs);
    return planMs <= goalMs && planPages == barePages ? 0 : 2;
}
