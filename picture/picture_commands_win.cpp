#include "picture/picture_commands_win.h"

namespace picture {

// Picture handling is not built yet; these menu items do nothing until it is.
void OnChangeBackgroundChosen(ui::EventArgs&) {}
void OnAdjustPictureChosen(ui::EventArgs&) {}

}  // namespace picture
