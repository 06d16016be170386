// Printing a large picture the way the program prints it: a 6000 × 4000 picture decoded,
// planned stretched over the printable area of the default printer's page, and the job run from a
// message loop by the job runner. Shown: the process's peak working set meanwhile beside the size
// of the decoded pixels, and the longest the loop kept a message waiting, measured in the same
// run. The picture file's bytes are made before the measurement starts, as the picture box holds
// them before a job.
//
// Usage: bench_picture_print
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <vector>

#include "bench/print_path.h"
#include "device/printer_object_win.h"
#include "picture/page_picture_win.h"
#include "picture/picture_object_win.h"

namespace {

constexpr int pictureWidth = 6000;
constexpr int pictureHeight = 4000;
constexpr std::size_t bmpHeaderBytes = 54;
constexpr double megabyte = 1024.0 * 1024.0;
// Decoded pixels plus one copy of them, beyond what the printer is handed.
constexpr double goalCopies = 2.0;
constexpr double longestWaitGoalMs = 100;

void PutLe(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// A 24-bit BMP with a gradient, so that nothing along the way can compress it away.
std::vector<std::uint8_t> GradientBmp(int width, int height) {
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    std::vector<std::uint8_t> file(bmpHeaderBytes + stride * height);
    file[0] = 'B';
    file[1] = 'M';
    PutLe(file, 2, static_cast<std::uint32_t>(file.size()), 4);
    PutLe(file, 10, bmpHeaderBytes, 4);
    PutLe(file, 14, 40, 4);
    PutLe(file, 18, static_cast<std::uint32_t>(width), 4);
    PutLe(file, 22, static_cast<std::uint32_t>(height), 4);
    PutLe(file, 26, 1, 2);
    PutLe(file, 28, 24, 2);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = file.data() + bmpHeaderBytes + stride * y;
        for (int x = 0; x < width; ++x) {
            row[3 * x] = static_cast<std::uint8_t>(x);
            row[3 * x + 1] = static_cast<std::uint8_t>(y);
            row[3 * x + 2] = static_cast<std::uint8_t>(x ^ y);
        }
    }
    return file;
}

SIZE_T PeakWorkingSet() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PeakWorkingSetSize;
}

SIZE_T WorkingSet() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.WorkingSetSize;
}

}  // namespace

int wmain() {
    const std::vector<std::uint8_t> file = GradientBmp(pictureWidth, pictureHeight);
    device::PrinterObject printer;
    const double decodedBytes = 3.0 * pictureWidth * pictureHeight;
    std::printf("printing a %d x %d picture stretched over a page, from a message loop\n", pictureWidth,
                pictureHeight);
    const SIZE_T before = WorkingSet();
    const SIZE_T peakBefore = PeakWorkingSet();
    bench::LoopWaits waits;
    {
        std::optional<picture::PictureObject> decoded = picture::PictureObject::FromBytes(file);
        if (!decoded) {
            std::fprintf(stderr, "the picture was not decoded\n");
            return 1;
        }
        std::printf("  peak growth after decoding %6.1f MB\n", (PeakWorkingSet() - before) / megabyte);
        const auto page = std::make_shared<const picture::PagePictureOf>(
            std::make_shared<const picture::PictureObject>(std::move(*decoded)));
        const auto layOut = [&page](HDC, const device::PaperSpec& paper) {
            return device::PlanPicture(paper, page, paper.PrintableWidth(), paper.PrintableHeight());
        };
        bench::StartedJob started = bench::StartJob(printer, layOut, L"bench-picture-print");
        if (!started.job) return 1;
        waits = bench::RunMeasuringWaits(std::move(started.job));
    }
    const SIZE_T peak = PeakWorkingSet();
    const double growth = static_cast<double>(peak > before ? peak - before : 0);
    std::printf("  decoded pixels     %8.1f MB\n", decodedBytes / megabyte);
    std::printf("  peak growth        %8.1f MB   (peak before %.1f MB)\n", growth / megabyte,
                peakBefore / megabyte);
    const double copies = growth / decodedBytes;
    std::printf("  ratio              %8.2f (goal <= %.2f: the decoded pixels and one copy)\n", copies,
                goalCopies);
    std::printf("  longest wait       %8.1f ms while drawing, %.1f ms in the last turn (EndDoc) (goal <= %.0f ms; "
                "%d messages posted every 5 ms, job %.2f s, %s)\n",
                waits.longestMs, waits.endMs, longestWaitGoalMs, waits.messages, waits.seconds,
                waits.outcome.end == device::JobEnd::printed ? "printed" : "not printed");
    return copies <= goalCopies && std::max(waits.longestMs, waits.endMs) <= longestWaitGoalMs &&
                   waits.outcome.end == device::JobEnd::printed
               ? 0
               : 1;
}
