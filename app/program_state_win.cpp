#include "app/program_state_win.h"

namespace app {
namespace {

ui::Window* mainWindow = nullptr;

}  // namespace

HWND separateEditOpen = nullptr;
int aboutCountdown = 0;

ui::Window* MainWindow() { return mainWindow; }
void SetMainWindow(ui::Window* window) { mainWindow = window; }

}  // namespace app
