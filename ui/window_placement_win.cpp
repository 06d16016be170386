#include "ui/window_placement_win.h"

#include "ui/dpi_scale.h"

namespace ui {

void BringForward(HWND window) {
    if (IsIconic(window)) {
        ShowWindow(window, SW_RESTORE);
    } else {
        SetForegroundWindow(window);
    }
}

void CentreOnScreen(HWND window, int width, int height) {
    const Point origin =
        CentredOrigin(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), width, height);
    SetWindowPos(window, nullptr, origin.x, origin.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CentreOnScreen(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    CentreOnScreen(window, rect.right - rect.left, rect.bottom - rect.top);
}

}  // namespace ui
