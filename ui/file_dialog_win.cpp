#include "ui/file_dialog_win.h"

#include <commdlg.h>

#include <cwchar>
#include <vector>

#include "ui/file_filter.h"

namespace ui {
namespace {

// Long enough for any path the dialog lets the user pick.
constexpr DWORD fileBufferLength = 32768;

// A multiple choice comes as the folder, then each file's name, each ended by a 0 and the list
// by another; a single file comes as its full name.
std::vector<std::wstring> ChosenFiles(const std::vector<wchar_t>& buffer) {
    std::vector<std::wstring> parts;
    for (std::size_t at = 0; at < buffer.size() && buffer[at] != L'\0';) {
        std::wstring part(buffer.data() + at, wcsnlen(buffer.data() + at, buffer.size() - at));
        at += part.size() + 1;
        parts.push_back(std::move(part));
    }
    if (parts.size() < 2) return parts;
    std::wstring folder = parts.front();
    if (folder.back() != L'\\') folder += L'\\';
    std::vector<std::wstring> files;
    for (std::size_t i = 1; i < parts.size(); ++i) files.push_back(folder + parts[i]);
    return files;
}

}  // namespace

bool FileDialog::ShowOpen(HWND owner) { return Show(owner, false, false); }

bool FileDialog::ShowOpenMany(HWND owner) { return Show(owner, false, true); }

bool FileDialog::ShowSave(HWND owner) { return Show(owner, true, false); }

bool FileDialog::Show(HWND owner, bool save, bool many) {
    const std::wstring dialogFilter = DialogFilter(filter);
    std::vector<wchar_t> file(fileBufferLength, L'\0');
    fileName.copy(file.data(), file.size() - 1);

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = dialogFilter.size() > 1 ? dialogFilter.c_str() : nullptr;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = fileBufferLength;
    dialog.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    dialog.Flags |= save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST;
    if (many) dialog.Flags |= OFN_ALLOWMULTISELECT;
    if (!(save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog))) return false;
    fileNames = many ? ChosenFiles(file) : std::vector<std::wstring>{file.data()};
    if (fileNames.empty()) return false;
    fileName = fileNames.front();
    return true;
}

}  // namespace ui
