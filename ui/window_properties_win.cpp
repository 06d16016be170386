#include "ui/window_win.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>

#include "ui/font_height.h"
#include "ui/window_class_win.h"
#include "ui/window_state_win.h"

namespace ui {
namespace {

constexpr COLORREF editBackColor = RGB(255, 255, 255);
constexpr LONG boldWeight = FW_BOLD;

LOGFONTW FontOf(HWND control) {
    auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    if (font == nullptr) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTW logFont{};
    GetObjectW(font, sizeof logFont, &logFont);
    return logFont;
}

}  // namespace

void Window::SetTitle(std::wstring_view title) {
    SetWindowTextW(handle_, std::wstring(title).c_str());
}

std::wstring Window::Text(int id) const { return WindowText(Control(id)); }

std::wstring WindowText(HWND window) {
    if (window == nullptr) return {};
    const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied =
        SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(copied, 0, length)));
    return text;
}

void Window::SetText(int id, std::wstring_view text) {
    const ControlState* state = Find(id);
    if (state == nullptr || state->handle == nullptr) return;
    SendMessageW(state->handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(std::wstring(text).c_str()));
    // A multi-line edit control does not report text set this way; its handlers still need to.
    if (state->description->kind == Kind::EditBox && (state->description->flags & multiLine)) {
        Raise(id, Event::Changed);
    }
}

bool Window::Checked(int id) const {
    HWND control = Control(id);
    return control != nullptr && SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Window::SetChecked(int id, bool checked) {
    if (HWND control = Control(id)) {
        SendMessageW(control, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

bool Window::Enabled(int id) const {
    HWND control = Control(id);
    return control != nullptr && IsWindowEnabled(control);
}

void Window::SetEnabled(int id, bool enabled) {
    if (HWND control = Control(id)) EnableWindow(control, enabled ? TRUE : FALSE);
}

FontSpec Window::ControlFont(int id) const {
    FontSpec font;
    HWND control = Control(id);
    if (control == nullptr) return font;
    const LOGFONTW logFont = FontOf(control);
    font.face = logFont.lfFaceName;
    if (logFont.lfHeight < 0) font.pointSize = SizeForFontHeight(logFont.lfHeight, dpi_);
    font.bold = logFont.lfWeight >= boldWeight;
    font.italic = logFont.lfItalic != 0;
    font.underline = logFont.lfUnderline != 0;
    font.strikeOut = logFont.lfStrikeOut != 0;
    return font;
}

void Window::SetControlFont(int id, const FontSpec& font) {
    ControlState* state = Find(id);
    if (state == nullptr || state->handle == nullptr) return;
    LOGFONTW logFont = FontOf(state->handle);
    logFont.lfHeight = FontHeightForSize(std::abs(font.pointSize), dpi_);
    logFont.lfWidth = 0;
    logFont.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    logFont.lfItalic = font.italic;
    logFont.lfUnderline = font.underline;
    logFont.lfStrikeOut = font.strikeOut;
    logFont.lfCharSet = DEFAULT_CHARSET;
    const std::size_t faceLength = std::min(font.face.size(), std::size(logFont.lfFaceName) - 1);
    std::copy_n(font.face.data(), faceLength, logFont.lfFaceName);
    logFont.lfFaceName[faceLength] = L'\0';
    Font created(CreateFontIndirectW(&logFont));
    if (!created) return;
    SendMessageW(state->handle, WM_SETFONT, reinterpret_cast<WPARAM>(created.get()), TRUE);
    state->font = std::move(created);  // the old font is deleted only after the control let go
}

bool Window::Bold(int id) const {
    HWND control = Control(id);
    return control != nullptr && FontOf(control).lfWeight >= boldWeight;
}

void Window::SetBold(int id, bool bold) {
    ControlState* state = Find(id);
    if (state == nullptr || state->handle == nullptr) return;
    LOGFONTW logFont = FontOf(state->handle);
    if ((logFont.lfWeight >= boldWeight) == bold) return;
    logFont.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    Font created(CreateFontIndirectW(&logFont));
    if (!created) return;
    SendMessageW(state->handle, WM_SETFONT, reinterpret_cast<WPARAM>(created.get()), TRUE);
    state->font = std::move(created);
}

COLORREF Window::TextColor(int id) const {
    const ControlState* state = Find(id);
    return state != nullptr ? state->textColor : editTextColor;
}

void Window::SetTextColor(int id, COLORREF color) {
    ControlState* state = Find(id);
    if (state == nullptr) return;
    state->textColor = color;
    state->hasTextColor = true;
    if (state->handle != nullptr) InvalidateRect(state->handle, nullptr, TRUE);
}

void Window::SetAlignment(int id, Alignment alignment) {
    ControlState* state = Find(id);
    if (state == nullptr || state->handle == nullptr) return;
    HWND old = state->handle;
    DWORD style = static_cast<DWORD>(GetWindowLongW(old, GWL_STYLE)) & ~(ES_LEFT | ES_CENTER | ES_RIGHT);
    if (alignment == Alignment::center) style |= ES_CENTER;
    if (alignment == Alignment::right) style |= ES_RIGHT;
    // An edit control reads its alignment only when it is created, so it is made anew in the
    // same place with the same text, font, selection and Z-order.
    RECT rect;
    GetWindowRect(old, &rect);
    MapWindowPoints(nullptr, handle_, reinterpret_cast<POINT*>(&rect), 2);
    const std::wstring text = Text(id);
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(old, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const bool hadFocus = GetFocus() == old;
    HWND created = CreateWindowExW(
        GetWindowLongW(old, GWL_EXSTYLE), L"EDIT", text.c_str(), style, rect.left, rect.top,
        rect.right - rect.left, rect.bottom - rect.top, handle_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance(), nullptr);
    if (created == nullptr) return;
    SendMessageW(created, WM_SETFONT, SendMessageW(old, WM_GETFONT, 0, 0), FALSE);
    SendMessageW(created, EM_SETLIMITTEXT, 0, 0);
    SendMessageW(created, EM_SETSEL, start, end);
    SetWindowPos(created, old, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (WantsOwnMessages(id)) {
        SetWindowSubclass(created, ControlProcedure, static_cast<UINT_PTR>(id),
                          reinterpret_cast<DWORD_PTR>(this));
    }
    state->handle = created;
    DestroyWindow(old);
    if (hadFocus) SetFocus(created);
}

void Window::SetTextLimit(int id, std::size_t characters) {
    if (HWND control = Control(id)) {
        SendMessageW(control, EM_SETLIMITTEXT, static_cast<WPARAM>(std::max<std::size_t>(characters, 1)), 0);
    }
}

void Window::SetListItems(int id, const std::vector<std::wstring>& items) {
    HWND control = Control(id);
    if (control == nullptr) return;
    SendMessageW(control, CB_RESETCONTENT, 0, 0);
    for (const std::wstring& item : items) {
        SendMessageW(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
}

int Window::ListSelection(int id) const {
    HWND control = Control(id);
    if (control == nullptr) return -1;
    const LRESULT chosen = SendMessageW(control, CB_GETCURSEL, 0, 0);
    return chosen == CB_ERR ? -1 : static_cast<int>(chosen);
}

void Window::SelectListItem(int id, int index) {
    if (HWND control = Control(id)) SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void Window::SetStatusText(int id, int part, std::wstring_view text) {
    if (HWND control = Control(id)) {
        SendMessageW(control, SB_SETTEXTW, static_cast<WPARAM>(part),
                     reinterpret_cast<LPARAM>(std::wstring(text).c_str()));
    }
}

std::wstring Window::StatusText(int id, int part) const {
    HWND control = Control(id);
    if (control == nullptr) return {};
    const LRESULT length = LOWORD(SendMessageW(control, SB_GETTEXTLENGTHW, part, 0));
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(control, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

unsigned Window::TimerInterval(int id) const {
    const ControlState* state = Find(id);
    return state != nullptr ? state->interval : 0;
}

void Window::SetTimerInterval(int id, unsigned milliseconds) {
    ControlState* state = Find(id);
    if (state == nullptr || handle_ == nullptr) return;
    state->interval = milliseconds;
    if (milliseconds == 0) KillTimer(handle_, static_cast<UINT_PTR>(id));
    else SetTimer(handle_, static_cast<UINT_PTR>(id), milliseconds, nullptr);
}

HBRUSH Window::ControlColors(HDC dc, HWND control) {
    const int id = GetDlgCtrlID(control);
    const ControlState* state = Find(id);
    if (state == nullptr) return nullptr;
    if (state->description->kind == Kind::EditBox) {
        if (!editBackground_) editBackground_.reset(CreateSolidBrush(editBackColor));
        ::SetTextColor(dc, state->textColor);
        SetBkColor(dc, editBackColor);
        return editBackground_.get();
    }
    if (state->hasTextColor) ::SetTextColor(dc, state->textColor);
    if (state->description->flags & transparent) {
        SetBkMode(dc, TRANSPARENT);
        return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    }
    // Buttons, check boxes and labels sit on the window's own face colour.
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return GetSysColorBrush(COLOR_BTNFACE);
}

}  // namespace ui
