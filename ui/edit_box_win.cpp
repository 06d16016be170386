// The edit box's context menu: copy, paste, font, alignment and clear.
#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "ui/clipboard_win.h"
#include "ui/edit_box_win.h"
#include "ui/font_height.h"
#include "ui/handles_win.h"
#include "ui/text_win.h"
#include "ui/window_win.h"

namespace ui {
namespace {

std::wstring ClipboardText() {
    ClipboardScope clipboard;
    if (!clipboard.IsOpen()) return {};
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (data == nullptr) return {};
    const GlobalMemoryLock<const wchar_t> text(data);
    if (text.get() == nullptr) return {};
    return std::wstring(text.get(), wcsnlen(text.get(), text.Size() / sizeof(wchar_t)));
}

void ApplyHeldFont(Window& window, int edit, const FontChoice& heldFont) {
    FontSpec font;
    font.face = FromGbk(EffectiveFaceGbk(heldFont.faceGbk));
    font.pointSize = heldFont.pointSize;
    font.bold = heldFont.bold;
    font.italic = heldFont.italic;
    font.underline = heldFont.underline;
    font.strikeOut = heldFont.strikeOut;
    window.SetControlFont(edit, font);
    window.SetTextColor(edit, heldFont.color);
}

}  // namespace

Selection SelectionOf(HWND edit) {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {std::min(start, end), std::max(start, end)};
}

std::wstring SelectedText(HWND edit) {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const std::wstring text = WindowText(edit);
    start = std::min<DWORD>(start, text.size());
    end = std::clamp<DWORD>(end, start, text.size());
    return text.substr(start, end - start);
}


void CopySelection(HWND edit) {
    const std::wstring text = SelectedText(edit);
    ClipboardScope clipboard;
    if (!clipboard.IsOpen()) return;
    EmptyClipboard();
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (data == nullptr) return;
    {
        const GlobalMemoryLock<void> target(data);
        if (target.get() == nullptr) {
            GlobalFree(data);
            return;
        }
        std::memcpy(target.get(), text.c_str(), bytes);
    }
    if (SetClipboardData(CF_UNICODETEXT, data) == nullptr) GlobalFree(data);
}

void PasteOverSelection(HWND edit) { InsertText(edit, ClipboardText()); }

void InsertText(HWND edit, std::wstring_view text) {
    const std::wstring inserted(text);
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(inserted.c_str()));
}

void ChooseEditFont(Window& window, int edit, FontChoice& heldFont) {
    LOGFONTW logFont{};
    const std::wstring face = FromGbk(heldFont.faceGbk);
    std::copy_n(face.c_str(), std::min<std::size_t>(face.size(), LF_FACESIZE - 1), logFont.lfFaceName);
    logFont.lfHeight = FontHeightForSize(heldFont.pointSize, ScreenDpi());
    logFont.lfWeight = heldFont.bold ? FW_BOLD : FW_NORMAL;
    logFont.lfItalic = heldFont.italic;
    logFont.lfUnderline = heldFont.underline;
    logFont.lfStrikeOut = heldFont.strikeOut;
    logFont.lfCharSet = DEFAULT_CHARSET;

    CHOOSEFONTW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = window.Handle();
    dialog.lpLogFont = &logFont;
    dialog.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
    dialog.rgbColors = heldFont.color;
    if (ChooseFontW(&dialog)) {
        heldFont.pointSize = dialog.iPointSize / 10;  // tenths of a point
        heldFont.faceGbk = ToGbk(logFont.lfFaceName);
        heldFont.color = dialog.rgbColors;
        heldFont.bold = logFont.lfWeight >= FW_BOLD;
        heldFont.italic = logFont.lfItalic != 0;
        heldFont.underline = logFont.lfUnderline != 0;
        heldFont.strikeOut = logFont.lfStrikeOut != 0;
    }
    // Cancelled or not, the held values go to the edit box.
    ApplyHeldFont(window, edit, heldFont);
}

void AppendText(HWND edit, std::wstring_view text) {
    const int end = GetWindowTextLengthW(edit);
    SendMessageW(edit, EM_SETSEL, end, end);
    SendMessageW(edit, EM_SCROLLCARET, 0, 0);
    const std::wstring appended(text);
    SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(appended.c_str()));
}

}  // namespace ui
