// "检测升级": asks the update server for a newer version and hands over to the updater when the
// user takes it.
#pragma once

namespace ui {
class Window;
struct EventArgs;
}  // namespace ui

namespace app {

struct Program;

// Runs one update check with the main window's title showing its progress. The requests run on
// a thread of their own while the window goes on answering; a check asked for while one runs
// does nothing. When the user takes an offer and the updater starts, the main window is
// destroyed without any close question, so the program ends with exit code 0 once this returns;
// when the updater cannot start, or could not install into the program directory, the user is
// told and the program stays open.
void CheckForUpdate(ui::Window& main, Program& program);

// The title timer: the standard title comes back a while after "未检测到新版本".
void OnTitleTimerTick(ui::EventArgs& event);

}  // namespace app
