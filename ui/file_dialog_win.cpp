#include "ui/file_dialog_win.h"

#include <commdlg.h>

#include <vector>

#include "ui/file_filter.h"

namespace ui {
namespace {

// Long enough for any path the dialog lets the user pick.
constexpr DWORD fileBufferLength = 32768;

}  // namespace

bool FileDialog::ShowOpen(HWND owner) { return Show(owner, false); }

bool FileDialog::ShowSave(HWND owner) { return Show(owner, true); }

bool FileDialog::Show(HWND owner, bool save) {
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
    if (!(save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog))) return false;
    fileName = file.data();
    return true;
}

}  // namespace ui
