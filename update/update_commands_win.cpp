#include "update/update_commands_win.h"

namespace update {

// The update check is not built yet; the menu item does nothing until it is.
void OnCheckUpdateChosen(ui::EventArgs&) {}

}  // namespace update
