#include "app/page_setup_file_win.h"

#include <windows.h>

#include <string>

#include "app/main_window_win.h"
#include "app/program_texts.h"
#include "app/program_win.h"
#include "ui/files_win.h"
#include "ui/text_win.h"

namespace app {
namespace {

// Empty when the user has no roaming folder.
std::wstring PageSetupPath() {
    const std::wstring folder = ui::UserSettingsFolder();
    if (folder.empty()) return {};
    return folder + L"\\" + ui::Widen(pageSetupFileName);
}

}  // namespace

LoadedPageSetup LoadPageSetup() {
    LoadedPageSetup loaded;
    const std::wstring path = PageSetupPath();
    if (path.empty() || GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return loaded;
    const ui::FileContents contents = ui::ReadFileContents(path);
    std::optional<text::PageSetup> parsed;
    if (contents.failure == ui::ReadFailure::none) {
        parsed = text::ParsePageSetup(std::string_view(reinterpret_cast<const char*>(contents.bytes.data()),
                                                       contents.bytes.size()));
    }
    if (parsed) {
        loaded.setup = std::move(*parsed);
    } else {
        loaded.damaged = true;
    }
    return loaded;
}

bool SavePageSetup(const text::PageSetup& setup) {
    const std::wstring path = PageSetupPath();
    if (path.empty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return false;
    }
    const std::string bytes = text::SerializePageSetup(setup);
    return ui::ReplaceWholeFile(path, {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
}

void UsePageSetup(Program& program, const text::PageSetup& setup) {
    program.pageSetup = setup;
    device::PrinterSettings& settings = program.printer.Settings();
    settings.marginLeft = setup.marginLeft;
    settings.marginTop = setup.marginTop;
    settings.marginRight = setup.marginRight;
    settings.marginBottom = setup.marginBottom;
}

void LoadPageSetupAtStart(ui::Window& main, Program& program) {
    const LoadedPageSetup loaded = LoadPageSetup();
    UsePageSetup(program, loaded.setup);
    if (loaded.damaged) SetStatusMessage(main, ui::Widen(pageSetupDamagedMessage));
}

}  // namespace app
