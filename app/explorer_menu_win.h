// "用墨舟打印" in Explorer's right-click menu, registered for the current user alone under
// HKEY_CURRENT_USER\Software\Classes\SystemFileAssociations\<extension>\shell, which needs no
// administrator rights. For each extension of ExplorerMenuExtensions() adding writes
//   shell\墨舟打印            default "用墨舟打印", MozhouCreatedParents = how many of the keys
//                             above it (shell, <extension>, SystemFileAssociations, and
//                             Software\Classes, which Wine may lack) adding made
//   shell\墨舟打印\command    default "<program>" /p "%1"
//   shell\printto\command     default "<program>" /pt "%1" "%2" "%3" "%4"
// and removal takes away exactly that. A printto verb of another program is never written over
// nor removed, and no key that was there before adding is removed.
#pragma once

#include <string>

namespace app {

struct ExplorerMenuState {
    bool any = false;       // the print verb is there for at least one extension
    bool complete = false;  // it is there for every extension and runs the given program
};

// What the current user's classes hold of the menu entry for `program` (a full path).
ExplorerMenuState ReadExplorerMenu(const std::wstring& program);

// Adds the verbs running `program` for every extension, putting the print verb of an earlier
// registration (of this program elsewhere, say) on `program`, and tells the shell. Returns 0, or
// the system error code after taking away again what it could not finish.
unsigned long AddExplorerMenu(const std::wstring& program);

// Takes away the print verbs, the printto verbs running `program` or the program an existing
// print verb runs, and the keys above them that adding made and that are left empty; tells the
// shell. Goes on past a key it cannot delete; returns 0 or the first system error code.
unsigned long RemoveExplorerMenu(const std::wstring& program);

}  // namespace app
