#include "ui/window_class_win.h"

#include <commctrl.h>

#include "ui/window_state_win.h"
#include "ui/window_win.h"

namespace ui {

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

void RegisterWindowClass(const std::wstring& name, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (GetClassInfoExW(Instance(), name.c_str(), &windowClass)) return;
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = Instance();
    windowClass.hIcon = LoadIconW(Instance(), MAKEINTRESOURCEW(programIconResource));
    windowClass.hIconSm = windowClass.hIcon;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = name.c_str();
    RegisterClassExW(&windowClass);
}

DWORD WindowStyle(std::uint32_t flags) {
    // No WS_CLIPCHILDREN: group boxes do not paint their inside, the window behind them does.
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    if (!(flags & fixedBorder)) style |= WS_THICKFRAME;
    if (flags & minimizeBox) style |= WS_MINIMIZEBOX;
    if (flags & maximizeBox) style |= WS_MAXIMIZEBOX;
    return style;
}

ClassAndStyle ControlClass(const ControlSpec& control) {
    const std::uint32_t flags = control.flags;
    DWORD style = WS_CHILD;
    if (!(flags & hidden)) style |= WS_VISIBLE;
    if (flags & disabled) style |= WS_DISABLED;
    if (flags & tabStop) style |= WS_TABSTOP;
    if (flags & thinBorder) style |= WS_BORDER;
    switch (control.kind) {
    case Kind::GroupBox: return {L"BUTTON", style | BS_GROUPBOX};
    case Kind::PushButton:
        return {L"BUTTON", style | ((flags & defaultButton) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) |
                               BS_CENTER | BS_VCENTER};
    case Kind::CheckBox: return {L"BUTTON", style | BS_AUTOCHECKBOX};
    case Kind::RadioButton: return {L"BUTTON", style | BS_AUTORADIOBUTTON};
    case Kind::EditBox:
        style |= ES_LEFT;
        if (flags & multiLine) style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
        else style |= ES_AUTOHSCROLL;
        if (flags & verticalScroll) style |= WS_VSCROLL;
        if (flags & keepSelection) style |= ES_NOHIDESEL;
        return {L"EDIT", style};
    case Kind::PictureBox: return {pictureBoxClass, style};
    case Kind::StatusBar:
        return {STATUSCLASSNAMEW, (style & ~WS_BORDER) | CCS_NOPARENTALIGN | CCS_NORESIZE};
    case Kind::Label: return {L"STATIC", style | SS_LEFT | SS_NOPREFIX};
    case Kind::ScrollBar: return {L"SCROLLBAR", style | ((flags & vertical) ? SBS_VERT : SBS_HORZ)};
    case Kind::ComboBox: return {L"COMBOBOX", style | CBS_DROPDOWNLIST | WS_VSCROLL};
    case Kind::Timer:
    case Kind::Custom: break;
    }
    return {nullptr, 0};
}

bool Window::BuiltByRuntime(HWND window) {
    return window != nullptr && reinterpret_cast<WNDPROC>(GetClassLongPtrW(window, GCLP_WNDPROC)) ==
                                    &Window::Procedure;
}

}  // namespace ui
