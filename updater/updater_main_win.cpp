// The updater: started by the program with the launch token and the manifest's values.
#include <windows.h>

#include <string>
#include <vector>

#include "update/command_line.h"
#include "update/update_rules.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const std::vector<std::wstring> arguments = update::SplitCommandLine(GetCommandLineW());
    if (arguments.size() < 7 || arguments[1] != L"接力口令") {
        MessageBoxW(nullptr, L"程序调用参数错误！", L"下载管理器", MB_OK | MB_ICONERROR);
        return 1;
    }
    return 0;
}
