// Picture box repaints: a 6000 × 4000 picture stretched over a box of the main window's size.
// The picture is decoded before the box gets it; the first paint draws it at the box's size, and
// every later repaint only copies that drawing, so it should cost about as much as the baseline
// measured in the same run: a plain window of the box's size whose paint is one BitBlt of a ready
// bitmap. Also shown: the BitBlt alone outside any paint, a repaint after the box changed size,
// which draws the picture again, and a box without a picture, which only fills its background.
//
// Then the first paint of a JPEG of the same size in the same box, which averages the photo down
// to the size it is drawn at, beside the BMP's first paint, which Windows stretches (halftone).
//
// Usage: bench_picture_box [repaints]
#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "bench/bench_jpeg.h"
#include "picture/decoded_picture_win.h"
#include "picture/picture_box_painter_win.h"
#include "ui/handles_win.h"
#include "ui/window_win.h"

namespace {

constexpr int defaultRepaints = 50;
constexpr int pictureWidth = 6000;
constexpr int pictureHeight = 4000;
constexpr int boxId = 1;
constexpr int boxWidth = 360;  // the main window's picture box
constexpr int boxHeight = 296;
constexpr double goalMs = 5.0;
constexpr double jpegGoalRatio = 1.0;   // the JPEG's first paint beside the BMP's
constexpr int jpegQuality = 90;         // a usual quality for photos

constexpr std::array boxControls{
    ui::ControlSpec{boxId, "box", ui::Kind::PictureBox, "", {8, 8, boxWidth, boxHeight},
                    ui::windowItself, ui::noFlags, {},
                    {ui::PictureMode::stretch, ui::systemFaceColor, true}},
};
const ui::WindowSpec benchWindow{"MozhouPictureBoxBench", "picture box bench", boxWidth + 40,
                                 boxHeight + 60, ui::fixedBorder, boxControls, {}, {}};

class Clock {
public:
    Clock() {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        frequency_ = static_cast<double>(frequency.QuadPart);
        QueryPerformanceCounter(&start_);
    }
    double ElapsedMs() const {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return static_cast<double>(now.QuadPart - start_.QuadPart) * 1000.0 / frequency_;
    }

private:
    double frequency_ = 1;
    LARGE_INTEGER start_{};
};

struct Figures {
    double median = 0;
    double mean = 0;
    double worst = 0;
};

Figures Summarize(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    Figures figures;
    figures.median = times[times.size() / 2];
    for (double time : times) figures.mean += time;
    figures.mean /= static_cast<double>(times.size());
    figures.worst = times.back();
    return figures;
}

void PutLe16(std::vector<std::uint8_t>& out, unsigned value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutLe32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    PutLe16(out, value & 0xFFFF);
    PutLe16(out, value >> 16);
}

// Colour gradients, so that the stretching and the encoding have real work to do.
void GradientRow(int y, std::uint8_t* bgr) {
    for (int x = 0; x < pictureWidth; ++x) {
        bgr[x * 3] = static_cast<std::uint8_t>(x * 255 / pictureWidth);
        bgr[x * 3 + 1] = static_cast<std::uint8_t>(y * 255 / pictureHeight);
        bgr[x * 3 + 2] = static_cast<std::uint8_t>((x ^ y) & 0xFF);
    }
}

// A 24-bit BMP of the gradients.
std::vector<std::uint8_t> LargeBmp() {
    const std::uint32_t stride = (pictureWidth * 3 + 3) & ~3u;
    const std::uint32_t pixelBytes = stride * pictureHeight;
    std::vector<std::uint8_t> out{'B', 'M'};
    out.reserve(54 + pixelBytes);
    PutLe32(out, 54 + pixelBytes);
    PutLe32(out, 0);
    PutLe32(out, 54);
    PutLe32(out, 40);
    PutLe32(out, pictureWidth);
    PutLe32(out, pictureHeight);
    PutLe16(out, 1);
    PutLe16(out, 24);
    PutLe32(out, 0);
    PutLe32(out, pixelBytes);
    for (int i = 0; i < 4; ++i) PutLe32(out, 0);
    out.resize(54 + pixelBytes);
    for (int y = 0; y < pictureHeight; ++y) {
        GradientRow(y, out.data() + 54 + static_cast<std::size_t>(y) * stride);
    }
    return out;
}

// The same gradients as a JPEG with libjpeg's default settings.
std::vector<std::uint8_t> LargeJpeg() {
    return bench::EncodeJpeg(pictureWidth, pictureHeight, jpegQuality, GradientRow);
}

void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// One repaint of the whole box, from invalidation until the paint has reached the display.
double Repaint(HWND box) {
    const Clock clock;
    InvalidateRect(box, nullptr, FALSE);
    UpdateWindow(box);
    GdiFlush();
    return clock.ElapsedMs();
}

std::vector<double> Repaints(HWND box, int count) {
    std::vector<double> times;
    for (int i = 0; i < count; ++i) times.push_back(Repaint(box));
    return times;
}

// The baseline window: its paint copies a ready bitmap of its size.
HDC blitSource = nullptr;

LRESULT CALLBACK BlitWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        BitBlt(dc, 0, 0, boxWidth, boxHeight, blitSource, 0, 0, SRCCOPY);
        EndPaint(window, &paint);
        return 0;
    }
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

std::vector<double> BlitWindowRepaints(HWND parent, int count) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = BlitWindowProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"MozhouBenchBlitWindow";
    RegisterClassExW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"", WS_CHILD | WS_VISIBLE, 8, 8,
                                  boxWidth, boxHeight, parent, nullptr, windowClass.hInstance,
                                  nullptr);
    const ui::WindowDc screen(window);
    const ui::Bitmap bitmap(CreateCompatibleBitmap(screen.get(), boxWidth, boxHeight));
    const ui::MemoryDc source(CreateCompatibleDC(screen.get()));
    const ui::SelectObjectScope select(source.get(), bitmap.get());
    PatBlt(source.get(), 0, 0, boxWidth, boxHeight, WHITENESS);
    blitSource = source.get();
    Repaint(window);
    std::vector<double> times = Repaints(window, count);
    DestroyWindow(window);
    blitSource = nullptr;
    return times;
}

// A box-sized bitmap copied onto the box with one BitBlt, outside any paint.
std::vector<double> BareBlits(HWND box, int count) {
    const ui::WindowDc target(box);
    const ui::Bitmap bitmap(CreateCompatibleBitmap(target.get(), boxWidth, boxHeight));
    const ui::MemoryDc source(CreateCompatibleDC(target.get()));
    const ui::SelectObjectScope select(source.get(), bitmap.get());
    PatBlt(source.get(), 0, 0, boxWidth, boxHeight, WHITENESS);
    std::vector<double> times;
    for (int i = 0; i < count; ++i) {
        const Clock clock;
        BitBlt(target.get(), 0, 0, boxWidth, boxHeight, source.get(), 0, 0, SRCCOPY);
        GdiFlush();
        times.push_back(clock.ElapsedMs());
    }
    return times;
}

void PrintLine(const char* name, const Figures& figures) {
    std::printf("  %-30s median %8.3f ms  mean %8.3f ms  worst %8.3f ms\n", name, figures.median,
                figures.mean, figures.worst);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int repaints = argc > 1 ? std::max(1, _wtoi(argv[1])) : defaultRepaints;
    std::unique_ptr<ui::Window> window =
        ui::Window::Create(benchWindow, SW_SHOWNOACTIVATE, nullptr, &picture::PicturePainter());
    if (!window) {
        std::fprintf(stderr, "the bench window could not be made\n");
        return 1;
    }
    HWND box = window->Control(boxId);
    Pump();

    const std::vector<double> empty = Repaints(box, repaints);

    const Clock making;
    std::vector<std::uint8_t> bytes = LargeBmp();
    const double makingMs = making.ElapsedMs();
    const std::size_t fileBytes = bytes.size();
    const Clock decoding;
    window->SetPictureContent(boxId, picture::DecodedPicture::FromBytes(bytes));
    const double decodeMs = decoding.ElapsedMs();
    const double firstMs = Repaint(box);
    const std::vector<double> later = Repaints(box, repaints);

    std::vector<double> resized;
    for (int i = 0; i < 3; ++i) {
        const int grow = i % 2 == 0 ? 1 : 0;
        SetWindowPos(box, nullptr, 0, 0, boxWidth + grow, boxHeight + grow,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        resized.push_back(Repaint(box));
    }
    SetWindowPos(box, nullptr, 0, 0, boxWidth, boxHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Repaint(box);

    const std::vector<double> bare = BareBlits(box, repaints);
    const std::vector<double> blitWindow = BlitWindowRepaints(window->Handle(), repaints);

    const std::vector<std::uint8_t> jpeg = LargeJpeg();
    const std::size_t jpegBytes = jpeg.size();
    const Clock fullDecode;
    auto photo = picture::DecodedPicture::FromBytes(jpeg);
    const double fullDecodeMs = fullDecode.ElapsedMs();
    const bool decoded = photo != nullptr;
    window->SetPictureContent(boxId, std::move(photo));
    const double jpegFirstMs = Repaint(box);
    const double jpegRatio = jpegFirstMs / firstMs;
    const bool jpegMeets = decoded && jpegRatio < jpegGoalRatio;

    const Figures laterFigures = Summarize(later);
    const Figures baselineFigures = Summarize(blitWindow);
    std::printf("picture box repaint: %d x %d BMP (%zu bytes, made in %.0f ms) stretched over "
                "%d x %d, %d repaints each\n",
                pictureWidth, pictureHeight, fileBytes, makingMs, boxWidth, boxHeight, repaints);
    std::printf("  %-30s %8.1f ms\n", "decode", decodeMs);
    std::printf("  %-30s %8.1f ms (draw at the box's size)\n", "first paint", firstMs);
    PrintLine("later repaints", laterFigures);
    PrintLine("repaint after a resize", Summarize(resized));
    PrintLine("box without a picture", Summarize(empty));
    PrintLine("baseline: paint of one BitBlt", baselineFigures);
    PrintLine("the BitBlt alone", Summarize(bare));
    std::printf("  later repaint median %.3f ms, %.2f times the baseline: %s the goal of < %.0f "
                "ms\n",
                laterFigures.median, laterFigures.median / baselineFigures.median,
                laterFigures.median < goalMs ? "meets" : "misses", goalMs);
    std::printf("picture box first paint of a %d x %d JPEG (%zu bytes, quality %d) stretched "
                "over %d x %d\n",
                pictureWidth, pictureHeight, jpegBytes, jpegQuality, boxWidth, boxHeight);
    std::printf("  %-30s %8.1f ms%s\n", "decode", fullDecodeMs, decoded ? "" : " (failed)");
    std::printf("  %-30s %8.1f ms\n", "first paint", jpegFirstMs);
    std::printf("  first paint %.2f times the BMP's: %s the goal of < %.2f\n", jpegRatio,
                jpegMeets ? "meets" : "misses", jpegGoalRatio);
    window.reset();
    return laterFigures.median < goalMs && jpegMeets ? 0 : 1;
}
