// Photos printed from their files' bytes, as the program prints them: each picture a
// FilePagePicture decoded when its place is drawn, at no more pixels than the device shows there.
// Every photo is a 6000 × 4000 JPEG (quality 90) of gradients with a little noise, so that
// neither the encoding nor the printer's driver can compress it away; the files' bytes are made
// before anything is measured, as the program holds them once the pictures are loaded. Three
// figures, each beside a baseline measured in the same run:
//
// 1. The bytes the spooler receives for one photo printed at 10 × 15 cm on the default printer,
//    beside the same photo first shrunk to the device pixels of 10 × 15 cm at the printer's
//    resolution (and encoded as a JPEG again) printed the same way. Both jobs print into a file,
//    as "打印到文件" does: the file holds every byte the driver hands to the spooler for the job.
//    Goal: at most 1.1 times.
// 2. The peak working set's growth while nine photos are printed nine to a page, from before the
//    layout until the job has ended, beside the size of one photo decoded (6000 × 4000 × 3
//    bytes). Goal: at most that plus 64 MB.
// 3. The first page of that layout shown as the print preview shows it at "整页" in an 800 × 680
//    view (laid out on the printer's information context, then drawn by the page renderer onto a
//    bitmap made for the screen), with pixels prepared afresh, beside decoding the nine photos at
//    their full size one after the other. Goal: at most 0.5 times (medians of the rounds). Shown
//    beside it: the page drawn again with its pixels kept, and the nine decoded at 1/8 (the scale
//    the preview's cells take) one after the other and on two threads, which tell how much of the
//    time is libjpeg reading the files' coded data.
//
// Usage: bench_photo_print [rounds] [noise]. The noise (8 unless given) moves each channel of each
// pixel by up to so much either way: the more of it, the larger the files and the longer libjpeg
// takes to read their coded data, which it reads whole at any scale.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/print_preview_description.h"
#include "bench/bench_jpeg.h"
#include "bench/bench_support.h"
#include "bench/print_path.h"
#include "device/page_renderer_win.h"
#include "device/printer_object_win.h"
#include "picture/decoders.h"
#include "picture/page_picture_win.h"
#include "picture/picture_layout.h"
#include "picture/shrink.h"
#include "ui/handles_win.h"

namespace {

using bench::Now;
using bench::Seconds;
using File = std::shared_ptr<const std::vector<std::uint8_t>>;

constexpr int defaultRounds = 3;
constexpr int photoWidth = 6000;
constexpr int photoHeight = 4000;
constexpr int photoCount = 9;
constexpr int jpegQuality = 90;
constexpr int defaultNoise = 8;  // about 5.5 MB a photo at quality 90
constexpr int printWidth = 1000;  // 10 × 15 cm, in 0.1 mm
constexpr int printHeight = 1500;
constexpr int viewWidth = 800;  // the preview's page view
constexpr int viewHeight = 680;
constexpr double megabyte = 1024.0 * 1024.0;
constexpr double bytesGoal = 1.1;
constexpr double memorySlack = 64 * megabyte;
constexpr double previewGoal = 0.5;
constexpr double decodedPhotoBytes = 3.0 * photoWidth * photoHeight;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Photo `seed`'s row y: gradients across, down and diagonally, each channel moved by noise.
int noise = defaultNoise;

void PhotoRow(int seed, int y, std::uint8_t* bgr) {
    for (int x = 0; x < photoWidth; ++x) {
        std::uint32_t k = static_cast<std::uint32_t>(x) * 0x9E3779B1u ^
                          static_cast<std::uint32_t>(y) * 0x85EBCA77u ^
                          static_cast<std::uint32_t>(seed) * 0xC2B2AE3Du;
        k ^= k >> 15;
        k *= 0x2C1B3C6Du;
        k ^= k >> 12;
        const int moved = static_cast<int>(k % (2 * noise + 1)) - noise;
        const int values[3] = {x * 255 / photoWidth, y * 255 / photoHeight,
                               (x / 7 + y / 5 + seed * 29) & 0xFF};
        for (int c = 0; c < 3; ++c) {
            bgr[3 * x + c] = static_cast<std::uint8_t>(std::clamp(values[c] + moved, 0, 255));
        }
    }
}

File Photo(int seed) {
    return std::make_shared<const std::vector<std::uint8_t>>(bench::EncodeJpeg(
        photoWidth, photoHeight, jpegQuality, [seed](int y, std::uint8_t* bgr) { PhotoRow(seed, y, bgr); }));
}

// The files as the program lays them out: read for their sizes, sharing one cache of prepared
// pixels.
std::vector<picture::LayoutPicture> PagePictures(const std::vector<File>& files) {
    auto cache = std::make_shared<picture::PlacedPixelsCache>();
    std::vector<picture::LayoutPicture> pictures;
    for (const File& file : files) {
        const std::optional<picture::PictureInfo> info = picture::ReadPictureInfo(*file);
        if (!info) continue;
        pictures.push_back({std::make_shared<const picture::FilePagePicture>(file, info->kind, info->width,
                                                                              info->height, cache),
                            info->dpiX, info->dpiY});
    }
    return pictures;
}

PROCESS_MEMORY_COUNTERS Memory() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters;
}

bool Printed(const bench::LoopWaits& waits) { return waits.outcome.end == device::JobEnd::printed; }

std::wstring TempFile(const wchar_t* name) {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + name;
}

// The size of a file the spooler wrote, once it stops growing, and its first line.
long long WrittenBytes(const std::wstring& path, std::string& firstLine) {
    long long last = -1;
    for (int i = 0; i < 100; ++i) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
            const long long size = (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
            if (size > 0 && size == last) {
                firstLine.assign(32, '\0');
                if (FILE* file = _wfopen(path.c_str(), L"rb")) {
                    firstLine.resize(std::fread(firstLine.data(), 1, firstLine.size(), file));
                    std::fclose(file);
                }
                firstLine.resize(std::min(firstLine.find_first_of("\r\n"), firstLine.size()));
                return size;
            }
            last = size;
        }
        Sleep(50);
    }
    return last;
}

// The device pixels the page renderer draws an item in on the printer.
RECT PlaceOnPrinter(HDC dc, const device::PictureItem& item) {
    const int saved = SaveDC(dc);
    device::ApplyPageMapping(dc, device::DeviceFrame(dc));
    POINT corners[2] = {{item.left, item.top}, {item.left + item.width, item.top + item.height}};
    LPtoDP(dc, corners, 2);
    RestoreDC(dc, saved);
    return {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

struct SizedPrint {
    long long bytes = -1;  // in the output file
    std::string firstLine;  // of the output file
    RECT place{};          // where the photo went, in device pixels
    int dpiX = 0;
    int dpiY = 0;
    bool printed = false;
};

// The photo printed at 10 × 15 cm into the file.
SizedPrint PrintAtSize(const File& file, const wchar_t* name) {
    SizedPrint result;
    const std::wstring output = TempFile(name);
    DeleteFileW(output.c_str());
    device::PrinterObject printer;
    const std::vector<picture::LayoutPicture> pictures = PagePictures({file});
    const auto layOut = [&](HDC dc, const device::PaperSpec& paper) {
        device::PagePlan plan = picture::PlanPicturesAtSize(paper, pictures, printWidth, printHeight);
        if (!plan.pages.empty() && !plan.pages.front().pictures.empty()) {
            result.place = PlaceOnPrinter(dc, plan.pages.front().pictures.front());
        }
        result.dpiX = paper.dpiX;
        result.dpiY = paper.dpiY;
        return plan;
    };
    bench::StartedJob started = bench::StartJob(printer, layOut, name, output.c_str());
    if (!started.job) return result;
    result.printed = Printed(bench::RunMeasuringWaits(std::move(started.job)));
    result.bytes = WrittenBytes(output, result.firstLine);
    DeleteFileW(output.c_str());
    return result;
}

// The photo decoded, averaged down to width × height and encoded again.
File Shrunk(const File& file, int width, int height) {
    std::optional<picture::Image> shrunk;
    {
        const std::optional<picture::Image> full = picture::DecodePicture(*file, picture::Kind::Jpeg);
        if (full) shrunk = picture::ShrinkImage(*full, width, height);
    }
    if (!shrunk) return nullptr;
    return std::make_shared<const std::vector<std::uint8_t>>(
        bench::EncodeJpeg(width, height, jpegQuality, [&shrunk](int y, std::uint8_t* bgr) {
            std::copy_n(shrunk->Row(y), static_cast<std::size_t>(shrunk->width) * 3, bgr);
        }));
}

bool SpoolerBytes(const File& photo) {
    std::printf("1. bytes the spooler receives for a %d x %d JPEG printed at %d x %d mm, into a file\n",
                photoWidth, photoHeight, printWidth / 10, printHeight / 10);
    const SizedPrint full = PrintAtSize(photo, L"bench-photo-print-full.prn");
    const int width = std::abs(full.place.right - full.place.left);
    const int height = std::abs(full.place.bottom - full.place.top);
    if (!full.printed || full.bytes <= 0 || width <= 0 || height <= 0) {
        std::fprintf(stderr, "the photo did not print into a file\n");
        return false;
    }
    const File small = Shrunk(photo, width, height);
    if (!small) {
        std::fprintf(stderr, "the photo could not be shrunk\n");
        return false;
    }
    const SizedPrint shrunk = PrintAtSize(small, L"bench-photo-print-shrunk.prn");
    if (!shrunk.printed || shrunk.bytes <= 0) {
        std::fprintf(stderr, "the shrunk photo did not print into a file\n");
        return false;
    }
    const double ratio = static_cast<double>(full.bytes) / static_cast<double>(shrunk.bytes);
    std::printf("  printer %d x %d dpi; the photo's place %d x %d device pixels; the files begin \"%s\"\n",
                full.dpiX, full.dpiY, width, height, full.firstLine.c_str());
    std::printf("  %d x %d JPEG (%zu bytes)          %10lld bytes to the spooler\n", photoWidth, photoHeight,
                photo->size(), full.bytes);
    std::printf("  shrunk first: %d x %d JPEG (%zu bytes) %10lld bytes to the spooler\n", width, height,
                small->size(), shrunk.bytes);
    std::printf("  ratio %.3f (goal <= %.1f)\n", ratio, bytesGoal);
    return ratio <= bytesGoal;
}

bool PeakMemory(const std::vector<File>& photos) {
    std::printf("2. peak memory printing %zu %d x %d JPEGs 9 to a page\n", photos.size(), photoWidth,
                photoHeight);
    device::PrinterObject printer;
    const PROCESS_MEMORY_COUNTERS before = Memory();
    bench::LoopWaits waits;
    std::size_t pages = 0;
    {
        const std::vector<picture::LayoutPicture> pictures = PagePictures(photos);
        const auto layOut = [&pictures](HDC, const device::PaperSpec& paper) {
            return picture::PlanPictures(paper, pictures, picture::PictureLayout::perPage9, 0).plan;
        };
        bench::StartedJob started = bench::StartJob(printer, layOut, L"bench-photo-print-nine");
        if (!started.job) return false;
        pages = started.pages;
        waits = bench::RunMeasuringWaits(std::move(started.job));
    }
    const PROCESS_MEMORY_COUNTERS after = Memory();
    const double growth = after.PeakWorkingSetSize > before.WorkingSetSize
                              ? static_cast<double>(after.PeakWorkingSetSize - before.WorkingSetSize)
                              : 0;
    const double goal = decodedPhotoBytes + memorySlack;
    std::printf("  working set before %.1f MB (its peak so far %.1f MB); %zu page(s), job %.2f s, %s\n",
                before.WorkingSetSize / megabyte, before.PeakWorkingSetSize / megabyte, pages, waits.seconds,
                Printed(waits) ? "printed" : "not printed");
    std::printf("  one photo decoded  %8.1f MB\n", decodedPhotoBytes / megabyte);
    std::printf("  peak growth        %8.1f MB   (goal <= %.1f MB: one photo decoded + %.0f MB; ratio to one "
                "photo decoded %.2f)\n",
                growth / megabyte, goal / megabyte, memorySlack / megabyte, growth / decodedPhotoBytes);
    if (after.PeakWorkingSetSize <= before.PeakWorkingSetSize) {
        std::printf("  (the peak was reached before the job: the growth shown is an upper bound)\n");
    }
    return Printed(waits) && pages == 1 && growth <= goal;
}

struct PreviewSeconds {
    double laidOut = -1;  // the plan made on the printer's information context
    double drawn = -1;    // the first page drawn, its pictures decoded and prepared on the way
    double again = -1;    // drawn once more, its pictures' pixels kept from the first time
    int width = 0;        // the paper on the screen
    int height = 0;
};

// The first page laid out on the printer's information context and drawn as the preview draws
// it at "整页": onto a bitmap of the paper's size on the screen, made for the screen.
PreviewSeconds PreviewFirstPage(device::PrinterObject& printer, const std::vector<File>& photos) {
    PreviewSeconds seconds;
    const std::vector<picture::LayoutPicture> pictures = PagePictures(photos);
    const LONGLONG start = Now();
    const auto plan = printer.PlanOnCurrentPrinter([&pictures](HDC, const device::PaperSpec& paper) {
        return picture::PlanPictures(paper, pictures, picture::PictureLayout::perPage9, 0).plan;
    });
    if (!plan || plan->pages.empty()) return seconds;
    const LONGLONG laidOut = Now();
    seconds.laidOut = Seconds(laidOut - start);
    device::PageRenderer renderer(plan);
    const ui::WindowDc screen(nullptr);
    const device::PaperSpec& paper = plan->paper;
    const device::PageMetrics& m = paper.metrics;
    const app::PagePlacement placed =
        app::PlacePage(paper, app::PreviewZoom::wholePage, viewWidth, viewHeight,
                       GetDeviceCaps(screen.get(), LOGPIXELSX), GetDeviceCaps(screen.get(), LOGPIXELSY));
    const int width = placed.paper.width;
    const int height = placed.paper.height;
    const ui::Bitmap bitmap(CreateCompatibleBitmap(screen.get(), width, height));
    const ui::MemoryDc dc(CreateCompatibleDC(screen.get()));
    if (!bitmap || !dc) return seconds;
    const ui::SelectObjectScope selected(dc.get(), bitmap.get());
    PatBlt(dc.get(), 0, 0, width, height, WHITENESS);
    device::PageFrame frame;
    frame.originX = placed.printable.x - placed.paper.x;
    frame.originY = placed.printable.y - placed.paper.y;
    frame.dpiX = paper.dpiX * width / static_cast<double>(m.physicalWidth);
    frame.dpiY = paper.dpiY * height / static_cast<double>(m.physicalHeight);
    renderer.DrawPage(dc.get(), frame, 0);
    GdiFlush();
    const LONGLONG drawn = Now();
    seconds.drawn = Seconds(drawn - laidOut);
    PatBlt(dc.get(), 0, 0, width, height, WHITENESS);
    renderer.DrawPage(dc.get(), frame, 0);
    GdiFlush();
    seconds.again = Seconds(Now() - drawn);
    seconds.width = width;
    seconds.height = height;
    return seconds;
}

// The photos decoded one after the other at full size, or at 1/8 (libjpeg's least scale, which
// the preview's cells take: what no drawing of them at that size can do without).
double DecodeAll(const std::vector<File>& photos, bool eighth) {
    const LONGLONG start = Now();
    for (const File& photo : photos) {
        const bool decoded = eighth ? picture::DecodeJpegScaled(*photo, 1, 1).has_value()
                                    : picture::DecodePicture(*photo, picture::Kind::Jpeg).has_value();
        if (!decoded) return -1;
    }
    return Seconds(Now() - start);
}

// The same at 1/8 on two threads, each taking every other photo: what preparing a page's
// pictures side by side on this machine's two cores would come to at best.
struct EighthsShare {
    const std::vector<File>* photos = nullptr;
    std::size_t first = 0;
    bool failed = false;
};

DWORD WINAPI DecodeEighths(void* parameter) {
    auto* share = static_cast<EighthsShare*>(parameter);
    for (std::size_t i = share->first; i < share->photos->size(); i += 2) {
        if (!picture::DecodeJpegScaled(*(*share->photos)[i], 1, 1)) share->failed = true;
    }
    return 0;
}

double DecodeEighthsOnTwoThreads(const std::vector<File>& photos) {
    EighthsShare shares[2] = {{&photos, 0}, {&photos, 1}};
    const LONGLONG start = Now();
    const ui::KernelHandle other(CreateThread(nullptr, 0, DecodeEighths, &shares[1], 0, nullptr));
    DecodeEighths(&shares[0]);
    if (other) WaitForSingleObject(other.get(), INFINITE);
    const double seconds = Seconds(Now() - start);
    return other && !shares[0].failed && !shares[1].failed ? seconds : -1;
}

bool PreviewTime(const std::vector<File>& photos, int rounds) {
    std::printf("3. the preview's first page of %zu %d x %d JPEGs 9 to a page, at \"整页\" in a %d x %d view, "
                "beside decoding them at full size\n",
                photos.size(), photoWidth, photoHeight, viewWidth, viewHeight);
    device::PrinterObject printer;
    std::vector<double> shown, laidOut, again, decoded, eighths, twoThreads;
    int width = 0, height = 0;
    for (int round = 0; round < rounds; ++round) {
        const PreviewSeconds preview = PreviewFirstPage(printer, photos);
        const double decode = DecodeAll(photos, false);
        const double eighth = DecodeAll(photos, true);
        twoThreads.push_back(DecodeEighthsOnTwoThreads(photos));
        if (preview.drawn < 0 || decode < 0 || eighth < 0) {
            std::fprintf(stderr, "the preview could not be drawn, or a photo not decoded\n");
            return false;
        }
        shown.push_back(preview.laidOut + preview.drawn);
        laidOut.push_back(preview.laidOut);
        again.push_back(preview.again);
        width = preview.width;
        height = preview.height;
        decoded.push_back(decode);
        eighths.push_back(eighth);
        std::printf("  round %d  first page shown %.3f s (laid out %.3f s, drawn %.3f s; drawn again %.3f s); "
                    "nine decoded %.3f s, at 1/8 %.3f s\n",
                    round + 1, preview.laidOut + preview.drawn, preview.laidOut, preview.drawn, preview.again,
                    decode, eighth);
    }
    const double ratio = Median(shown) / Median(decoded);
    std::printf("  shown / decoded: %.3f s / %.3f s = %.3f (goal <= %.1f; medians of %d rounds)\n",
                Median(shown), Median(decoded), ratio, previewGoal, rounds);
    const double full = Median(decoded);
    std::printf("  paper %d x %d on the screen; laid out %.3f s, drawn again with the pixels kept %.3f s\n", width,
                height, Median(laidOut), Median(again));
    std::printf("  the nine decoded at 1/8 alone %.3f s = %.3f of the full decode; on two threads %.3f s = %.3f\n",
                Median(eighths), Median(eighths) / full, Median(twoThreads), Median(twoThreads) / full);
    return ratio <= previewGoal;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int rounds = argc > 1 ? std::max(1, _wtoi(argv[1])) : defaultRounds;
    if (argc > 2) noise = std::clamp(_wtoi(argv[2]), 0, 127);
    const LONGLONG making = Now();
    std::vector<File> photos;
    std::size_t bytes = 0;
    for (int seed = 0; seed < photoCount; ++seed) {
        photos.push_back(Photo(seed));
        bytes += photos.back()->size();
    }
    std::printf("photo printing: %d JPEGs of %d x %d, quality %d, noise %d, %.1f MB in all (made in %.1f s)\n",
                photoCount, photoWidth, photoHeight, jpegQuality, noise, bytes / megabyte,
                Seconds(Now() - making));
    // The memory first, before anything else has raised the peak.
    const bool memory = PeakMemory(photos);
    const bool spooled = SpoolerBytes(photos.front());
    const bool preview = PreviewTime(photos, rounds);
    std::printf("goals: spooler bytes %s, peak memory %s, preview %s\n", spooled ? "met" : "MISSED",
                memory ? "met" : "MISSED", preview ? "met" : "MISSED");
    return spooled && memory && preview ? 0 : 1;
}
