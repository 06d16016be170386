// Start-up: the program directory becomes the working directory, the XML parser object is made,
// the exit routine registered, picture boxes given their painter, the main window created, and
// the message loop runs.
#include <windows.h>

#include <cstdlib>
#include <memory>

#include "app/main_window_win.h"
#include "app/program_files_win.h"
#include "picture/picture_box_painter_win.h"
#include "ui/window_win.h"
#include "update/xml_parser_object.h"

namespace {

void ExitRoutine() { update::ReleaseXmlParser(); }

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    SetCurrentDirectoryW(app::ProgramDirectory().c_str());
    update::CreateXmlParser();
    std::atexit(ExitRoutine);
    picture::InstallPictureBoxPainter();
    std::unique_ptr<ui::Window> mainWindow = ui::Window::Create(app::MainWindowSpec(), showCommand);
    if (!mainWindow) return 1;
    return ui::RunMessageLoop();
}
