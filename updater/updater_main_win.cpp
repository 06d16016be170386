// The updater "升级文件\update.exe": started by the program as
//   update.exe 接力口令 <下载地址> <文件标题> 运行 墨舟.exe <文件名> [<升级说明>...]
// It checks the update again for itself, installs it or refuses it, and starts the program again.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/files_win.h"
#include "ui/message_loop_win.h"
#include "ui/paths.h"
#include "ui/text_win.h"
#include "ui/window_win.h"
#include "update/archive_paths.h"
#include "update/command_line.h"
#include "update/update_rules.h"
#include "updater/download_window_win.h"
#include "updater/update_job_win.h"
#include "updater/updater_texts.h"

namespace {

// The updater's own path and six arguments at least.
constexpr std::size_t fewestArguments = 7;
enum Argument : std::size_t { token = 1, downloadAddress = 2, fileTitle = 3, programName = 5 };

// The program to start at the end: the one the command line names when that is a plain file
// name, else the program's usual name.
std::wstring ProgramName(const std::wstring& named) {
    const std::optional<std::wstring> safe = update::SafeArchivePath(named);
    if (safe && safe->find(L'\\') == std::wstring::npos) return *safe;
    return ui::Widen(update::programFileName);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    const std::vector<std::wstring> arguments = update::SplitCommandLine(GetCommandLineW());
    const std::wstring programDirectory(ui::FolderPart(ui::ProgramDirectory()));
    if (arguments.size() < fewestArguments || arguments[token] != ui::Widen(update::launchToken) ||
        programDirectory.empty()) {
        MessageBoxW(nullptr, ui::Widen(updater::badCallMessage).c_str(), ui::Widen(updater::windowTitle).c_str(),
                    MB_OK | MB_ICONERROR);
        return 1;
    }
    const std::wstring programPath = programDirectory + L"\\" + ProgramName(arguments[programName]);
    updater::UpdateJob job({programDirectory, arguments[downloadAddress], programPath});
    updater::DownloadSession session{job, arguments[fileTitle], programPath};
    const std::unique_ptr<ui::Window> window =
        ui::Window::Create(updater::DownloadWindowSpec(), showCommand, &session);
    if (!window) return 1;
    return ui::RunMessageLoop();
}
