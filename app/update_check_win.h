// "检测升级": asks the update server for a newer version and hands over to the updater when the
// user takes it.
#pragma once

namespace ui {
class Window;
}

namespace app {

struct Program;

// Runs one update check with the main window's title showing its progress. When the user takes
// an offer, the updater is started and the main window destroyed without any close question, so
// the program ends with exit code 0 once this returns.
void CheckForUpdate(ui::Window& main, Program& program);

}  // namespace app
