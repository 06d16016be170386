// A window at the resolution of its screen: built from its 96-dpi description scaled, and
// scaled again when it moves to a screen of another resolution.
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "ui/dpi_scale.h"
#include "ui/window_placement_win.h"
#include "ui/window_state_win.h"

namespace ui {

HFONT Window::GuiFont() const {
    return guiFont_ ? guiFont_.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void Window::PlaceForDpi() {
    dpi_ = WindowDpi(handle_);
    guiFont_ = GuiFontForDpi(dpi_);
    const int width = ScaleToDpi(spec_.width, dpi_);
    const int height = ScaleToDpi(spec_.height, dpi_);
    if (spec_.flags & centered) {
        CentreOnScreen(handle_, width, height);
    } else {
        SetWindowPos(handle_, nullptr, 0, 0, width, height,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    }
}

namespace {

Rect RectInParent(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace

// Controls keep where their handlers put them, rescaled; fonts keep their size in points.
void Window::ChangeDpi(int dpi, const RECT& suggested) {
    const int old = dpi_;
    dpi_ = UsableDpi(dpi);
    const Font previousGuiFont = std::move(guiFont_);  // in use until every control let go
    guiFont_ = GuiFontForDpi(dpi_);
    SetWindowPos(handle_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    if (old == dpi_) return;
    for (auto& state : controls_) {
        HWND control = state->handle;
        if (control == nullptr) continue;
        Rect at = RescaleRect(RectInParent(control), old, dpi_);
        if (state->description->kind == Kind::ComboBox) at.height += ScaleToDpi(comboListHeight, dpi_);
        SetWindowPos(control, nullptr, at.x, at.y, at.width, at.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        if (state->font) {
            if (Font rescaled = RescaledFont(state->font.get(), old, dpi_)) {
                SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(rescaled.get()), TRUE);
                state->font = std::move(rescaled);  // the old font goes once the control let go
            }
        } else {
            SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(GuiFont()), TRUE);
        }
        if (state->description->kind == Kind::StatusBar && !state->description->parts.empty()) {
            std::vector<int> edges = StatusPartEdges(state->description->parts, dpi_);
            SendMessageW(control, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
        }
    }
    RedrawWindow(handle_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

}  // namespace ui
