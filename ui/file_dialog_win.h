// The common file dialog a window keeps: its filter and file name stay from one use to the next.
#pragma once

#include <windows.h>

#include <string>

namespace ui {

class FileDialog {
public:
    // "description|pattern|..." as the dialogs are given it.
    std::wstring filter;
    // The file chosen last; the next dialog starts from it.
    std::wstring fileName;

    // The open-file dialog. True when the user chose an existing file, now in fileName; on Cancel
    // everything stays as it was.
    bool ShowOpen(HWND owner);
    // The save-file dialog, asking before an existing file is replaced.
    bool ShowSave(HWND owner);

private:
    bool Show(HWND owner, bool save);
};

}  // namespace ui
