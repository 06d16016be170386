#include "update/updater_files_win.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "ui/files_win.h"
#include "ui/handles_win.h"
#include "ui/text_win.h"
#include "update/command_line.h"
#include "update/update_rules.h"
#include "update/update_texts.h"

namespace update {
namespace {

constexpr DWORD readyForInputMs = 1000;

std::wstring UpdaterFolder() { return ui::DataPath(ui::Widen(updaterFolder)); }

bool HoldsPayload(const std::wstring& path, std::span<const std::uint8_t> payload) {
    const std::vector<std::uint8_t> present = ui::ReadWholeFile(path);
    return std::ranges::equal(present, payload);
}

}  // namespace

std::wstring UpdaterPath() { return UpdaterFolder() + L"\\" + ui::Widen(updaterFileName); }

void PrepareUpdater(std::span<const std::uint8_t> payload) {
    if (payload.empty()) return;
    const std::wstring folder = UpdaterFolder();
    if (GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES &&
        !CreateDirectoryW(folder.c_str(), nullptr)) {
        return;
    }
    const std::wstring path = UpdaterPath();
    if (!HoldsPayload(path, payload)) ui::ReplaceWholeFile(path, payload);
}

std::wstring UpdaterCommandLine(const std::wstring& updaterPath, const Manifest& manifest) {
    const std::wstring arguments[] = {
        updaterPath,
        ui::Widen(launchToken),
        ui::Widen(manifest.downloadAddress),
        ui::Widen(manifest.fileTitle),
        ui::Widen(runInstruction),
        ui::Widen(programFileName),
        ui::Widen(manifest.fileName),
        ui::Widen(manifest.notes),
    };
    return JoinCommandLineWithin(arguments);
}

DWORD HandOverToUpdater(const Manifest& manifest) {
    std::wstring commandLine = UpdaterCommandLine(UpdaterPath(), manifest);
    if (commandLine.empty()) return ERROR_BAD_ARGUMENTS;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started)) {
        return GetLastError();
    }
    const ui::KernelHandle process(started.hProcess);
    const ui::KernelHandle thread(started.hThread);
    WaitForInputIdle(process.get(), readyForInputMs);
    return ERROR_SUCCESS;
}

}  // namespace update
