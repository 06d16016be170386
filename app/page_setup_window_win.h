// The page setup window "页面设置": paper, orientation, margins, header and footer and line
// numbers, with a sample page that follows every change.
#pragma once

namespace ui {
class Window;
struct EventArgs;
}  // namespace ui

namespace app {

struct Program;

// Shows the window over its owner, which waits meanwhile, filled from the program's page setup.
// OK makes the setup the program's (its margins the printer's) and saves it for the next run, a
// failed save noted in the main window's status bar; it returns true. Cancel, Esc and the close
// box change nothing and return false. Without textParts (a picture job) only the margins can
// be changed: the rest applies to texts alone.
bool ShowPageSetupWindow(ui::Window& owner, Program& program, bool textParts);

// The edit box menu's "页面设置".
void OnPageSetupChosen(ui::EventArgs& event);

}  // namespace app
