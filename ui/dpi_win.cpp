#include "ui/dpi_win.h"

#include "ui/dpi_scale.h"

namespace ui {
namespace {

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);

// Windows 7 and 8 lack it, so it is looked up rather than linked.
GetDpiForWindowFunction DpiForWindowFunction() {
    static const auto function = [] {
        HMODULE user = GetModuleHandleW(L"user32.dll");
        return user != nullptr ? reinterpret_cast<GetDpiForWindowFunction>(
                                     reinterpret_cast<void*>(GetProcAddress(user, "GetDpiForWindow")))
                               : nullptr;
    }();
    return function;
}

}  // namespace

int ScreenDpi() {
    WindowDc screen(nullptr);
    return UsableDpi(GetDeviceCaps(screen.get(), LOGPIXELSY));
}

int WindowDpi(HWND window) {
    if (const GetDpiForWindowFunction function = DpiForWindowFunction(); function && window) {
        if (const UINT dpi = function(window); dpi != 0) return static_cast<int>(dpi);
    }
    WindowDc screen(nullptr);
    return UsableDpi(GetDeviceCaps(screen.get(), LOGPIXELSX));
}

Font RescaledFont(HFONT font, int fromDpi, int toDpi) {
    LOGFONTW logFont{};
    if (font == nullptr || GetObjectW(font, sizeof logFont, &logFont) == 0) return Font();
    logFont.lfHeight = RescaleFontHeight(logFont.lfHeight, fromDpi, toDpi);
    logFont.lfWidth = Rescale(logFont.lfWidth, fromDpi, toDpi);
    return Font(CreateFontIndirectW(&logFont));
}

Font GuiFontForDpi(int dpi) {
    const int screen = ScreenDpi();
    if (UsableDpi(dpi) == screen) return Font();
    return RescaledFont(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), screen, dpi);
}

}  // namespace ui
