// Commands on an edit box that every window's edit box offers: the clipboard, the font dialog
// and appending text.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>

#include "ui/font_choice.h"

namespace ui {

class Window;

// The selected part of the edit box's text; empty when nothing is selected.
std::wstring SelectedText(HWND edit);
// Where the selection starts and ends, in UTF-16 units of the text.
struct Selection {
    std::size_t start = 0;
    std::size_t end = 0;
};
Selection SelectionOf(HWND edit);
// The selection as plain text on the clipboard; nothing selected leaves an empty text there.
void CopySelection(HWND edit);
// The clipboard's text over the selection; without text the selection is deleted.
void PasteOverSelection(HWND edit);
// The font dialog, starting from the values it holds for its window, then those values to the
// edit box whether confirmed or cancelled.
void ChooseEditFont(Window& window, int edit, FontChoice& held);
// Puts the text over the selection, at the caret when nothing is selected, as one edit that can
// be undone.
void InsertText(HWND edit, std::wstring_view text);
// Puts the text after the edit box's text with one edit, the caret at the end.
void AppendText(HWND edit, std::wstring_view text);

}  // namespace ui
