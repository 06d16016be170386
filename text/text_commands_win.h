#pragma once

#include "ui/description.h"

namespace ui {
class Window;
}

namespace text {

// "单独编辑 (适于A4纸)": opens the separate-edit window, not modal.
void OnSeparateEditChosen(ui::EventArgs& event);

// The separate-edit window while it is open, otherwise null, and the id of its edit box.
ui::Window* SeparateEditWindow();
inline constexpr int separateEditBox = 100;

}  // namespace text
