// Memory of printing a large picture: the process's peak working set while a 6000 × 4000
// picture is decoded, drawn stretched over a page of the default printer and the job ended,
// beside the size of the decoded pixels, measured in the same run. The picture file's bytes are
// made before the measurement starts, as the picture box holds them before a job.
//
// Usage: bench_picture_print
#include <windows.h>
#include <psapi.h>

#include <cstdint>
#include <cstdio>
#include <optional>
#include <vector>

#include "device/printer_object_win.h"
#include "picture/picture_object_win.h"

namespace {

constexpr int pictureWidth = 6000;
constexpr int pictureHeight = 4000;
constexpr std::size_t bmpHeaderBytes = 54;
constexpr double megabyte = 1024.0 * 1024.0;
// Decoded pixels plus one copy of them, beyond what the printer is handed.
constexpr double goalCopies = 2.0;

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
    std::printf("printing a %d x %d picture stretched over a page\n", pictureWidth, pictureHeight);
    const SIZE_T before = WorkingSet();
    const SIZE_T peakBefore = PeakWorkingSet();
    {
        const std::optional<picture::PictureObject> picture = picture::PictureObject::FromBytes(file);
        if (!picture || !printer.StartPrinting(false, false)) {
            std::fprintf(stderr, "no picture or no printer\n");
            return 1;
        }
        std::printf("  peak growth after decoding %6.1f MB\n", (PeakWorkingSet() - before) / megabyte);
        printer.documentName = L"bench-picture-print";
        printer.DrawPicture(&*picture, 0, 0, printer.PrintableWidth(), printer.PrintableHeight());
        std::printf("  peak growth after drawing  %6.1f MB\n", (PeakWorkingSet() - before) / megabyte);
        printer.EndPrinting();
    }
    const SIZE_T peak = PeakWorkingSet();
    const double growth = static_cast<double>(peak > before ? peak - before : 0);
    std::printf("  decoded pixels     %8.1f MB\n", decodedBytes / megabyte);
    std::printf("  peak growth        %8.1f MB   (peak before %.1f MB)\n", growth / megabyte,
                peakBefore / megabyte);
    const double copies = growth / decodedBytes;
    std::printf("  ratio              %8.2f (goal <= %.2f: the decoded pixels and one copy)\n", copies,
                goalCopies);
    return copies <= goalCopies ? 0 : 1;
}
