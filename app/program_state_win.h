// Program-wide values shared between windows. They start empty and are never saved.
#pragma once

#include <windows.h>

namespace ui {
class FileDialog;
class Window;
}

namespace app {

// The main window once it exists.
ui::Window* MainWindow();
void SetMainWindow(ui::Window* window);

// The main window's file dialog (通用对话框1): the find button and the background picture use it.
ui::FileDialog& MainFileDialog();

// The separate-edit window's handle while it is open, otherwise null.
extern HWND separateEditOpen;

// The about box's countdown.
extern int aboutCountdown;

}  // namespace app
