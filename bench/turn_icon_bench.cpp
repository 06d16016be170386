// Turning an icon in the picture adjustment window: its pixels read back from the working panel
// in one go, transposed and drawn, beside the baseline measured in the same run: the same pixels
// copied from the working panel to the preview one by one, as the window once did.
//
// Usage: bench_turn_icon [side, at most 256]
#include <windows.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

#include "picture/draw_panel_win.h"
#include "picture/picture_box_painter_win.h"
#include "picture/picture_object_win.h"
#include "picture/transpose.h"
#include "ui/window_win.h"

namespace {

constexpr int largestIconSide = 256;
enum : int { workingId = 1, previewId };
constexpr ui::PictureBoxSpec panelSettings{ui::PictureMode::tiled, ui::systemFaceColor, false};
constexpr std::array panels{
    ui::ControlSpec{workingId, "画板2", ui::Kind::PictureBox, "", {0, 0, largestIconSide, largestIconSide},
                    ui::windowItself, ui::noFlags, {}, panelSettings},
    ui::ControlSpec{previewId, "画板1", ui::Kind::PictureBox, "", {largestIconSide, 0, largestIconSide,
                    largestIconSide}, ui::windowItself, ui::noFlags, {}, panelSettings},
};
const ui::WindowSpec benchWindow{"MozhouTurnIconBench", "turn icon bench", 2 * largestIconSide + 40,
                                 largestIconSide + 60, ui::fixedBorder, panels, {}, {}};

void Put(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// An icon file of one 32-bit image of side × side pixels with a colour gradient.
std::vector<std::uint8_t> GradientIcon(int side) {
    const std::uint32_t maskBytes = static_cast<std::uint32_t>((side + 31) / 32 * 4 * side);
    const std::uint32_t imageBytes = 40 + static_cast<std::uint32_t>(side * side * 4) + maskBytes;
    std::vector<std::uint8_t> out;
    for (const std::uint32_t field : {0u, 1u, 1u}) Put(out, field, 2);
    for (int i = 0; i < 2; ++i) out.push_back(static_cast<std::uint8_t>(side));  // 256 is written 0
    Put(out, 0, 2);
    Put(out, 1, 2);
    Put(out, 32, 2);
    Put(out, imageBytes, 4);
    Put(out, 22, 4);
    for (const std::uint32_t field : {40u, static_cast<std::uint32_t>(side), 2u * side}) Put(out, field, 4);
    Put(out, 1, 2);
    Put(out, 32, 2);
    Put(out, 0, 4);
    Put(out, imageBytes - 40, 4);
    for (int i = 0; i < 4; ++i) Put(out, 0, 4);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) Put(out, 0xFF000000u | (x << 16) | (y << 8) | ((x ^ y) & 0xFF), 4);
    }
    out.resize(out.size() + maskBytes, 0);
    return out;
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

template <typename Run>
double Time(Run run) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    run();
    QueryPerformanceCounter(&end);
    return Milliseconds(start, end);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int side = argc > 1 ? std::min(std::max(_wtoi(argv[1]), 1), largestIconSide) : largestIconSide;
    const auto window = ui::Window::Create(benchWindow, SW_SHOWNOACTIVATE, nullptr, &picture::PicturePainter());
    const auto icon = picture::PictureObject::FromBytes(GradientIcon(side));
    if (!window || !icon) {
        std::fprintf(stderr, "the bench window or the icon could not be made\n");
        return 1;
    }
    picture::DrawPanel working(window->Control(workingId));
    picture::DrawPanel preview(window->Control(previewId));
    working.DrawPicture(&*icon, 0, 0);

    const double oneByOneMs = Time([&] {
        for (int x = 0; x < side; ++x) {
            for (int y = 0; y < side; ++y) working.CopyTo(preview, x, y, 1, 1, y, x);
        }
    });
    preview.Clear();
    const double oneGoMs = Time([&] {
        const std::optional<picture::Image> pixels = working.PictureAsShown(&*icon);
        if (!pixels) return;
        if (std::optional<picture::Image> turned = picture::TransposeImage(*pixels)) {
            const auto result = picture::PictureObject::FromImage(picture::Kind::Bmp, std::move(*turned));
            preview.DrawPicture(&result, 0, 0);
        }
    });
    std::printf("turning a %d x %d icon:\n", side, side);
    std::printf("  %-38s %10.1f ms\n", "baseline: one copy per pixel", oneByOneMs);
    std::printf("  %-38s %10.1f ms (%.0f times faster)\n", "read back in one go, transposed, drawn", oneGoMs,
                oneByOneMs / (oneGoMs > 0 ? oneGoMs : 1e-3));
    return 0;
}
