#include "picture/picture_commands_win.h"

namespace picture {

// Picture handling is not built yet; these commands do nothing until it is.
void OnChangeBackgroundChosen(ui::EventArgs&) {}
void OnAdjustPictureChosen(ui::EventArgs&) {}
void PrintPictureJob() {}

}  // namespace picture
