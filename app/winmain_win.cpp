// Start-up: the program directory becomes the working directory, the program's state (with the
// XML parser object) is made, the main window created, and the message loop runs. Leaving this
// function is the program's normal end; the state's end is its exit routine.
#include <windows.h>

#include <memory>

#include "app/main_window_win.h"
#include "app/program_win.h"
#include "picture/picture_box_painter_win.h"
#include "ui/files_win.h"
#include "ui/message_loop_win.h"
#include "ui/window_win.h"
#include "update/replacement_journal_win.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    SetCurrentDirectoryW(ui::ProgramDirectory().c_str());
    // An update cut short by a crash or a power loss is taken back before the program runs.
    update::RecoverInterruptedUpdate();
    app::Program program;
    std::unique_ptr<ui::Window> mainWindow =
        ui::Window::Create(app::MainWindowSpec(), showCommand, &program, &picture::PicturePainter());
    if (!mainWindow) return 1;
    return ui::RunMessageLoop();
}
