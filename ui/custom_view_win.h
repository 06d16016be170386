// Child windows of the program's own classes, made as Custom controls of a window's description:
// each message reaches a handler together with the context the control was created with.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "ui/text_win.h"

namespace ui {

// Handles one message for a view whose context is known; false leaves it to the default
// procedure.
template <typename Context>
using ViewHandler = bool (*)(HWND view, UINT message, WPARAM wParam, LPARAM lParam, Context& context,
                             LRESULT& result);

namespace detail {

template <typename Context, ViewHandler<Context> handler>
LRESULT CALLBACK ViewProcedure(HWND view, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(view, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    LRESULT result = 0;
    if (auto* context = reinterpret_cast<Context*>(GetWindowLongPtrW(view, GWLP_USERDATA));
        context != nullptr && handler(view, message, wParam, lParam, *context, result)) {
        return result;
    }
    return DefWindowProcW(view, message, wParam, lParam);
}

}  // namespace detail

// Registers the class once, with the arrow cursor, repainted whole when resized.
template <typename Context, ViewHandler<Context> handler>
void RegisterViewClass(std::string_view name) {
    static const bool registered = [name] {
        WNDCLASSW kind{};
        kind.style = CS_HREDRAW | CS_VREDRAW;
        kind.lpfnWndProc = detail::ViewProcedure<Context, handler>;
        kind.hInstance = GetModuleHandleW(nullptr);
        kind.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        const std::wstring wide = Widen(name);
        kind.lpszClassName = wide.c_str();
        return RegisterClassW(&kind) != 0;
    }();
    (void)registered;
}

}  // namespace ui
