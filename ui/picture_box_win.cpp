// Picture boxes: a window class of their own that paints through the window's painter.
#include <windows.h>

#include "ui/window_state_win.h"

namespace ui {

const wchar_t pictureBoxClass[] = L"MozhouPictureBox";

namespace {

COLORREF PictureBackgroundColor(std::uint32_t color) {
    return color == systemFaceColor ? GetSysColor(COLOR_BTNFACE) : (color & 0x00FFFFFF);
}

PictureBoxView ViewOf(HWND box, PictureBoxData& data) {
    return {box, data.content, data.settings.mode, PictureBackgroundColor(data.settings.background),
            data.settings.animate, data.memo};
}

void PaintPictureBox(HWND box, HDC dc, PictureBoxData& data) {
    RECT client;
    GetClientRect(box, &client);
    if (data.painter != nullptr && data.content) {
        PictureBoxView view = ViewOf(box, data);
        // A picture too large for the memory left shows as an empty box, never ends the program.
        try {
            data.painter->Paint(dc, client, view);
            return;
        } catch (...) {
            data.memo.reset();
        }
    }
    const Brush brush(CreateSolidBrush(PictureBackgroundColor(data.settings.background)));
    FillRect(dc, &client, brush.get());
}

LRESULT CALLBACK PictureBoxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* data = reinterpret_cast<PictureBoxData*>(GetWindowLongPtrW(box, GWLP_USERDATA));
    if (data == nullptr) return DefWindowProcW(box, message, wParam, lParam);
    switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(box, &paint);
        PaintPictureBox(box, dc, *data);
        EndPaint(box, &paint);
        return 0;
    }
    case WM_PRINTCLIENT:
        PaintPictureBox(box, reinterpret_cast<HDC>(wParam), *data);
        return 0;
    case WM_TIMER:
        if (data->painter != nullptr && data->content && data->memo) {
            PictureBoxView view = ViewOf(box, *data);
            try {
                data->painter->Tick(view, static_cast<UINT_PTR>(wParam));
            } catch (...) {
                data->memo.reset();
            }
        }
        return 0;
    case WM_DESTROY:
        data->memo.reset();  // its timer goes while the window still exists
        SetWindowLongPtrW(box, GWLP_USERDATA, 0);
        return 0;
    default: return DefWindowProcW(box, message, wParam, lParam);
    }
}

}  // namespace

void RegisterPictureBoxClass() {
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        // Stretched and centred pictures move with every change of size.
        windowClass.style = CS_HREDRAW | CS_VREDRAW;
        windowClass.lpfnWndProc = PictureBoxProcedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        windowClass.lpszClassName = pictureBoxClass;
        return RegisterClassExW(&windowClass) != 0;
    }();
    (void)registered;
}

std::shared_ptr<const PictureBoxContent> Window::PictureContent(int id) const {
    const ControlState* state = Find(id);
    return state != nullptr ? state->picture.content : nullptr;
}

// Setting the content it shows already draws it anew, dropping whatever was drawn on the box.
void Window::SetPictureContent(int id, std::shared_ptr<const PictureBoxContent> content) {
    ControlState* state = Find(id);
    if (state == nullptr) return;
    state->picture.memo.reset();  // before the content it may point into
    state->picture.content = std::move(content);
    state->picture.memo.reset();
    if (state->handle != nullptr) InvalidateRect(state->handle, nullptr, FALSE);
}

PictureBoxSpec Window::PictureSettings(int id) const {
    const ControlState* state = Find(id);
    return state != nullptr ? state->picture.settings : PictureBoxSpec{};
}

void Window::SetPictureMode(int id, PictureMode mode) {
    ControlState* state = Find(id);
    if (state == nullptr || state->picture.settings.mode == mode) return;
    state->picture.settings.mode = mode;
    if (state->handle != nullptr) InvalidateRect(state->handle, nullptr, FALSE);
}

void Window::SetPictureBackground(int id, std::uint32_t color) {
    ControlState* state = Find(id);
    if (state == nullptr || state->picture.settings.background == color) return;
    state->picture.settings.background = color;
    if (state->handle != nullptr) InvalidateRect(state->handle, nullptr, FALSE);
}

void Window::SetPictureAnimation(int id, bool animate) {
    ControlState* state = Find(id);
    if (state == nullptr || state->picture.settings.animate == animate) return;
    state->picture.settings.animate = animate;
    state->picture.memo.reset();
    if (state->handle != nullptr) InvalidateRect(state->handle, nullptr, FALSE);
}

}  // namespace ui
