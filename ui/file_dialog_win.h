// The common file dialog a window keeps: its filter and file name stay from one use to the next.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace ui {

class FileDialog {
public:
    // "description|pattern|..." as the dialogs are given it.
    std::wstring filter;
    // The file chosen last; the next dialog starts from it.
    std::wstring fileName;
    // Every file chosen by the last ShowOpenMany, in the order the dialog gives them; fileName
    // is the first.
    std::vector<std::wstring> fileNames;

    // The open-file dialog. True when the user chose an existing file, now in fileName; on Cancel
    // everything stays as it was.
    bool ShowOpen(HWND owner);
    // The same, letting the user choose several files of one folder.
    bool ShowOpenMany(HWND owner);
    // The save-file dialog, asking before an existing file is replaced.
    bool ShowSave(HWND owner);

private:
    bool Show(HWND owner, bool save, bool many);
};

}  // namespace ui
