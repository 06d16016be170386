// Start-up: the command line is read first; printing from it runs without any window and ends
// the process. Otherwise the program directory becomes the working directory, the program's
// state (with the XML parser object) is made, the main window created (opening the files the
// command line names), and the message loop runs. Leaving this function is the program's normal
// end; the state's end is its exit routine.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/command_line_print_win.h"
#include "app/main_window_win.h"
#include "app/program_win.h"
#include "picture/picture_box_painter_win.h"
#include "ui/files_win.h"
#include "ui/message_loop_win.h"
#include "ui/text_win.h"
#include "ui/window_win.h"
#include "update/command_line.h"
#include "update/replacement_journal_win.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    const std::vector<std::wstring> line = update::SplitCommandLine(GetCommandLineW());
    std::vector<std::u16string> arguments;
    for (std::size_t i = 1; i < line.size(); ++i) arguments.push_back(ui::ToUtf16(line[i]));
    const std::optional<app::CommandLineRequest> request = app::ParseCommandLine(arguments);
    if (!request) return app::ShowCommandLineUsage();
    // Names given relative to the caller's working directory, before it changes.
    std::vector<std::wstring> files = app::ExpandFileNames(request->files);
    SetCurrentDirectoryW(ui::ProgramDirectory().c_str());
    if (request->print) return app::PrintFromCommandLine(*request, files);

    // An update cut short by a crash or a power loss is taken back before the program runs.
    update::RecoverInterruptedUpdate();
    app::Program program;
    program.startFiles = std::move(files);
    std::unique_ptr<ui::Window> mainWindow =
        ui::Window::Create(app::MainWindowSpec(), showCommand, &program, &picture::PicturePainter());
    if (!mainWindow) return 1;
    return ui::RunMessageLoop();
}
