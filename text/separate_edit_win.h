// The separate-edit window: a larger editor for one sheet, with the print backup file.
#pragma once

#include "ui/description.h"

namespace ui {
class Window;
}

namespace text {

// "单独编辑 (适于A4纸)": opens the window, or brings the open one forward.
void OnSeparateEditChosen(ui::EventArgs& event);

// The window while it is open, otherwise null.
ui::Window* SeparateEditWindow();

// Closes the window the way the user would, asking whether to keep its text first; used when
// the program ends so that typed text is never lost silently.
void CloseSeparateEdit();

}  // namespace text
