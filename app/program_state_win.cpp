#include "app/program_state_win.h"

#include "ui/file_dialog_win.h"

namespace app {
namespace {

ui::Window* mainWindow = nullptr;

}  // namespace

HWND separateEditOpen = nullptr;
int aboutCountdown = 0;

ui::Window* MainWindow() { return mainWindow; }
void SetMainWindow(ui::Window* window) { mainWindow = window; }

ui::FileDialog& MainFileDialog() {
    static ui::FileDialog dialog;
    return dialog;
}

}  // namespace app
