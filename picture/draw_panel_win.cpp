#include "picture/draw_panel_win.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>

#include "device/draw_panel.h"
#include "device/drawing_unit_win.h"
#include "picture/picture_object_win.h"
#include "picture/render_win.h"

namespace picture {
namespace {

constexpr UINT_PTR subclassId = 1;

SIZE ClientSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return {client.right - client.left, client.bottom - client.top};
}

}  // namespace

DrawPanel::DrawPanel(HWND panel) : panel_(panel) {}

DrawPanel::~DrawPanel() { SetAutoRedraw(false); }

void DrawPanel::SetAutoRedraw(bool autoRedraw) {
    if (autoRedraw == AutoRedraw() || panel_ == nullptr) return;
    if (!autoRedraw) {
        if (IsWindow(panel_)) RemoveWindowSubclass(panel_, Procedure, subclassId);
        canvas_.reset();
        return;
    }
    const SIZE client = ClientSize(panel_);
    {
        ui::WindowDc screen(panel_);
        canvas_.reset(CreateCompatibleBitmap(screen.get(), std::max<LONG>(client.cx, 1),
                                             std::max<LONG>(client.cy, 1)));
    }
    if (!canvas_) return;
    FillCanvas();
    SetWindowSubclass(panel_, Procedure, subclassId, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK DrawPanel::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR, DWORD_PTR self) {
    auto& panel = *reinterpret_cast<DrawPanel*>(self);
    if (message == WM_PAINT && panel.canvas_) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        ui::MemoryDc memory(CreateCompatibleDC(dc));
        const ui::SelectObjectScope select(memory.get(), panel.canvas_.get());
        const RECT& dirty = paint.rcPaint;
        BitBlt(dc, dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top,
               memory.get(), dirty.left, dirty.top, SRCCOPY);
        EndPaint(window, &paint);
        return 0;
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(window, Procedure, subclassId);
    return DefSubclassProc(window, message, wParam, lParam);
}

template <typename Draw>
void DrawPanel::OnEachSurface(Draw draw) {
    if (panel_ == nullptr) return;
    if (canvas_) {
        ui::WindowDc screen(panel_);
        ui::MemoryDc memory(CreateCompatibleDC(screen.get()));
        const ui::SelectObjectScope select(memory.get(), canvas_.get());
        device::ApplyDrawingUnit(memory.get(), unit);
        draw(memory.get());
    }
    ui::WindowDc window(panel_);
    device::ApplyDrawingUnit(window.get(), unit);
    draw(window.get());
}

POINT DrawPanel::ToPixels(POINT point) const {
    ui::WindowDc window(panel_);
    device::ApplyDrawingUnit(window.get(), unit);
    LPtoDP(window.get(), &point, 1);
    return point;
}

// A size converts as the difference of two points, whatever the mapping's origin.
POINT DrawPanel::SizeToPixels(int width, int height) const {
    const POINT origin = ToPixels({0, 0});
    const POINT corner = ToPixels({width, height});
    return {corner.x - origin.x, corner.y - origin.y};
}

// The panel paints its background into the bitmap as it would onto the screen.
void DrawPanel::FillCanvas() {
    ui::WindowDc screen(panel_);
    ui::MemoryDc memory(CreateCompatibleDC(screen.get()));
    const ui::SelectObjectScope select(memory.get(), canvas_.get());
    SendMessageW(panel_, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.get()), PRF_CLIENT);
}

void DrawPanel::Clear() {
    if (panel_ == nullptr) return;
    if (canvas_) FillCanvas();
    RedrawWindow(panel_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void DrawPanel::DrawPicture(const PictureObject* picture, int left, int top,
                            std::optional<int> width, std::optional<int> height, int copyMode) {
    if (picture == nullptr) return;
    const POINT corner = ToPixels({left, top});
    const POINT size = SizeToPixels(width.value_or(0), height.value_or(0));
    const int pixelWidth = width ? size.x : -1;
    const int pixelHeight = height ? size.y : -1;
    OnEachSurface([&](HDC dc) {
        SetMapMode(dc, MM_TEXT);
        RenderPicture(dc, *picture, corner.x, corner.y, pixelWidth, pixelHeight,
                               device::RasterOperationFor(copyMode));
    });
}

// The picture's pixel size in the panel's unit, converted as the difference of two points.
POINT DrawPanel::PictureSize(const PictureObject* picture) const {
    if (picture == nullptr || panel_ == nullptr) return {0, 0};
    ui::WindowDc window(panel_);
    device::ApplyDrawingUnit(window.get(), unit);
    POINT size[2] = {{0, 0}, {picture->Width(), picture->Height()}};
    DPtoLP(window.get(), size, 2);
    return {size[1].x - size[0].x, size[1].y - size[0].y};
}

int DrawPanel::GetPictureWidth(const PictureObject* picture) const {
    return PictureSize(picture).x;
}

int DrawPanel::GetPictureHeight(const PictureObject* picture) const {
    return PictureSize(picture).y;
}

void DrawPanel::CopyTo(DrawPanel& target, int left, int top, std::optional<int> width,
                       std::optional<int> height, int targetLeft, int targetTop, int copyMode) {
    if (panel_ == nullptr || target.panel_ == nullptr) return;
    const SIZE client = ClientSize(panel_);
    const POINT from = ToPixels({left, top});
    const POINT size = SizeToPixels(width.value_or(0), height.value_or(0));
    const int pixelWidth = width ? size.x : client.cx;
    const int pixelHeight = height ? size.y : client.cy;
    if (!device::CopyTouchesClient(from.x, from.y, pixelWidth, pixelHeight, client.cx, client.cy)) return;
    const POINT to = target.ToPixels({targetLeft, targetTop});
    const DWORD operation = device::RasterOperationFor(copyMode);

    // The source as it shows: its bitmap when it keeps one, else its window.
    ui::WindowDc sourceWindow(panel_);
    ui::MemoryDc sourceMemory;
    std::optional<ui::SelectObjectScope> sourceSelect;
    HDC source = sourceWindow.get();
    if (canvas_) {
        sourceMemory.reset(CreateCompatibleDC(sourceWindow.get()));
        sourceSelect.emplace(sourceMemory.get(), canvas_.get());
        source = sourceMemory.get();
    }
    target.OnEachSurface([&](HDC dc) {
        SetMapMode(dc, MM_TEXT);
        BitBlt(dc, to.x, to.y, pixelWidth, pixelHeight, source, from.x, from.y, operation);
    });
}

// Drawn on a bitmap of the picture's own size rather than read off the screen, so that a panel
// partly outside its window, or covered, gives the same pixels.
std::optional<Image> DrawPanel::PictureAsShown(const PictureObject* picture) const {
    if (picture == nullptr || panel_ == nullptr) return std::nullopt;
    std::optional<Image> image =
        AllocateImage(picture->Width(), picture->Height(), PixelFormat::Bgr24);
    if (!image) return std::nullopt;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = image->width;
    info.bmiHeader.biHeight = -image->height;  // top row first, as the image keeps its rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    const ui::WindowDc screen(panel_);
    void* bits = nullptr;
    const ui::Bitmap section(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const ui::MemoryDc memory(CreateCompatibleDC(screen.get()));
    if (!section || bits == nullptr || !memory) return std::nullopt;
    {
        const ui::SelectObjectScope select(memory.get(), section.get());
        SendMessageW(panel_, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.get()), PRF_CLIENT);
        RenderPicture(memory.get(), *picture, 0, 0);
        GdiFlush();
    }
    // A 24-bit DIB's rows are padded to 4 bytes, as the image's are.
    std::memcpy(image->pixels.data(), bits, image->pixels.size());
    return image;
}

}  // namespace picture
