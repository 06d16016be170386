#include "text/text_commands_win.h"

namespace text {

// The separate-edit window is not built yet; the menu item does nothing until it is.
void OnSeparateEditChosen(ui::EventArgs&) {}

ui::Window* SeparateEditWindow() { return nullptr; }

}  // namespace text
