// Commands on an edit box, shared by the main window and the separate-edit window.
#pragma once

#include <windows.h>

#include "app/font_choice.h"
#include "ui/description.h"

namespace ui {
class Window;
}

namespace app {

// The selection as plain text on the clipboard; nothing selected leaves an empty text there.
void CopySelection(HWND edit);
// The clipboard's text over the selection; without text the selection is deleted.
void PasteOverSelection(HWND edit);
// The font dialog, starting from the values it holds for its window, then those values to the
// edit box whether confirmed or cancelled.
void ChooseEditFont(ui::Window& window, int edit, FontChoice& held);

// The main edit box's context menu items.
void OnCopyChosen(ui::EventArgs& event);
void OnPasteChosen(ui::EventArgs& event);
void OnFontChosen(ui::EventArgs& event);
void OnAlignLeftChosen(ui::EventArgs& event);
void OnAlignCenterChosen(ui::EventArgs& event);
void OnAlignRightChosen(ui::EventArgs& event);
void OnClearChosen(ui::EventArgs& event);

}  // namespace app
