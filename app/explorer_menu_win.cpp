#include "app/explorer_menu_win.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cwchar>
#include <optional>
#include <utility>

#include "app/explorer_menu.h"
#include "ui/handles_win.h"
#include "ui/text_win.h"
#include "update/command_line.h"

namespace app {
namespace {

using ui::RegistryKey;

constexpr wchar_t classesPath[] = L"Software\\Classes";
constexpr wchar_t associationsPath[] = L"SystemFileAssociations";
constexpr wchar_t createdParentsValue[] = L"MozhouCreatedParents";
// The keys above a verb, counted from it: shell, <.ext>, SystemFileAssociations, Software\Classes.
constexpr DWORD allParents = 4;

// Paths below the classes key for one extension.
struct VerbPaths {
    std::wstring extension;  // SystemFileAssociations\<.ext>
    std::wstring shell;      // ...\shell
    std::wstring print;      // ...\shell\墨舟打印
    std::wstring printTo;    // ...\shell\printto
};

VerbPaths PathsFor(std::string_view extension) {
    VerbPaths paths;
    paths.extension = std::wstring(associationsPath) + L"\\" + ui::Widen(extension);
    paths.shell = paths.extension + L"\\shell";
    paths.print = paths.shell + L"\\" + ui::Widen(explorerPrintVerb);
    paths.printTo = paths.shell + L"\\" + ui::Widen(explorerPrintToVerb);
    return paths;
}

std::wstring CommandPath(const std::wstring& verb) { return verb + L"\\command"; }

// The current user's classes key, which Windows always has and Wine makes on first use; `made`
// tells whether it was made now.
LSTATUS OpenClasses(RegistryKey& classes, bool create = false, bool* made = nullptr) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    const REGSAM access = KEY_READ | KEY_WRITE;
    const LSTATUS status =
        create ? RegCreateKeyExW(HKEY_CURRENT_USER, classesPath, 0, nullptr, 0, access, nullptr,
                                 &key, &disposition)
               : RegOpenKeyExW(HKEY_CURRENT_USER, classesPath, 0, access, &key);
    classes.reset(status == ERROR_SUCCESS ? key : nullptr);
    if (made != nullptr) *made = disposition == REG_CREATED_NEW_KEY;
    return status;
}

// Creates the key or opens it as it is; `made` tells which.
LSTATUS CreateKey(HKEY classes, const std::wstring& path, bool* made = nullptr) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    const LSTATUS status = RegCreateKeyExW(classes, path.c_str(), 0, nullptr, 0, KEY_WRITE,
                                           nullptr, &key, &disposition);
    const RegistryKey created(status == ERROR_SUCCESS ? key : nullptr);
    if (made != nullptr) *made = disposition == REG_CREATED_NEW_KEY;
    return status;
}

bool KeyExists(HKEY classes, const std::wstring& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(classes, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// A key without subkeys and without values, the default value included.
bool KeyEmpty(HKEY classes, const std::wstring& path) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(classes, path.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
    const RegistryKey key(opened);
    DWORD subkeys = 0;
    DWORD values = 0;
    return RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                            &values, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
           subkeys == 0 && values == 0;
}

// A key's default string value; nothing when the key or the value is missing or not a string.
std::optional<std::wstring> ReadDefault(HKEY classes, const std::wstring& path) {
    for (int attempt = 0; attempt < 3; ++attempt) {  // the value may grow between the two reads
        DWORD bytes = 0;
        if (RegGetValueW(classes, path.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, nullptr, &bytes) !=
            ERROR_SUCCESS) {
            return std::nullopt;
        }
        std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
        bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        const LSTATUS status =
            RegGetValueW(classes, path.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, text.data(), &bytes);
        if (status == ERROR_MORE_DATA) continue;
        if (status != ERROR_SUCCESS) return std::nullopt;
        text.resize(std::wcslen(text.c_str()));
        return text;
    }
    return std::nullopt;
}

DWORD ReadCreatedParents(HKEY classes, const std::wstring& verb) {
    DWORD value = 0;
    DWORD bytes = sizeof value;
    if (RegGetValueW(classes, verb.c_str(), createdParentsValue, RRF_RT_REG_DWORD, nullptr, &value,
                     &bytes) != ERROR_SUCCESS) {
        return 0;
    }
    return std::min(value, allParents);
}

LSTATUS WriteString(HKEY classes, const std::wstring& path, const wchar_t* name,
                    const std::wstring& text) {
    return RegSetKeyValueW(classes, path.c_str(), name, REG_SZ, text.c_str(),
                           static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

// Whether the command starts the program at `program`, compared as Windows compares file names.
bool Runs(const std::optional<std::wstring>& command, std::wstring_view program) {
    if (!command || program.empty()) return false;
    const std::vector<std::wstring> arguments = update::SplitCommandLine(*command);
    return !arguments.empty() &&
           CompareStringOrdinal(arguments[0].c_str(), static_cast<int>(arguments[0].size()),
                                program.data(), static_cast<int>(program.size()),
                                TRUE) == CSTR_EQUAL;
}

// The program the print verb already there runs, or nothing.
std::wstring PrintVerbProgram(HKEY classes, const VerbPaths& paths) {
    const std::optional<std::wstring> command = ReadDefault(classes, CommandPath(paths.print));
    if (!command) return {};
    const std::vector<std::wstring> arguments = update::SplitCommandLine(*command);
    return arguments.empty() ? std::wstring() : arguments[0];
}

// The printto verb is this program's when its command runs `program` or the program of the print
// verb beside it.
bool PrintToIsOurs(HKEY classes, const VerbPaths& paths, const std::wstring& program) {
    const std::optional<std::wstring> command = ReadDefault(classes, CommandPath(paths.printTo));
    return Runs(command, program) || Runs(command, PrintVerbProgram(classes, paths));
}

LSTATUS AddFor(HKEY classes, bool madeClasses, std::string_view extension,
               const std::wstring& program) {
    const VerbPaths paths = PathsFor(extension);
    bool madeAssociations = false;
    bool madeExtension = false;
    bool madeShell = false;
    LSTATUS status = CreateKey(classes, associationsPath, &madeAssociations);
    if (status == ERROR_SUCCESS) status = CreateKey(classes, paths.extension, &madeExtension);
    if (status == ERROR_SUCCESS) status = CreateKey(classes, paths.shell, &madeShell);
    if (status != ERROR_SUCCESS) return status;
    const DWORD madeParents =
        !madeShell ? 0 : !madeExtension ? 1 : !madeAssociations ? 2 : !madeClasses ? 3 : allParents;

    // Decided before the print verb is written: a printto verb of ours may run the program the
    // print verb ran before.
    const bool printToFree = !KeyExists(classes, paths.printTo) || PrintToIsOurs(classes, paths, program);

    const DWORD createdParents = std::max(madeParents, ReadCreatedParents(classes, paths.print));
    status = CreateKey(classes, paths.print);
    if (status == ERROR_SUCCESS) {
        status = RegSetKeyValueW(classes, paths.print.c_str(), createdParentsValue, REG_DWORD,
                                 &createdParents, sizeof createdParents);
    }
    if (status == ERROR_SUCCESS) {
        status = WriteString(classes, paths.print, nullptr, ui::Widen(explorerPrintCaption));
    }
    if (status == ERROR_SUCCESS) {
        status = WriteString(classes, CommandPath(paths.print), nullptr, ExplorerPrintCommand(program));
    }
    if (status == ERROR_SUCCESS && printToFree) {
        status = WriteString(classes, CommandPath(paths.printTo), nullptr,
                             ExplorerPrintToCommand(program));
    }
    return status;
}

// Deletes a key without subkeys; one already gone counts as deleted.
void DeleteKey(HKEY classes, const std::wstring& path, LSTATUS& firstError) {
    const LSTATUS status = RegDeleteKeyW(classes, path.c_str());
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND && firstError == ERROR_SUCCESS) {
        firstError = status;
    }
}

// Removes one extension's verbs and the keys above them, up to the extension's, that adding made;
// returns how many keys above the verb adding made.
DWORD RemoveFor(HKEY classes, std::string_view extension, const std::wstring& program,
               LSTATUS& firstError) {
    const VerbPaths paths = PathsFor(extension);
    if (!KeyExists(classes, paths.shell)) return 0;
    if (PrintToIsOurs(classes, paths, program)) {
        DeleteKey(classes, CommandPath(paths.printTo), firstError);
        DeleteKey(classes, paths.printTo, firstError);
    }
    const DWORD createdParents = ReadCreatedParents(classes, paths.print);
    if (KeyExists(classes, paths.print)) {
        DeleteKey(classes, CommandPath(paths.print), firstError);
        DeleteKey(classes, paths.print, firstError);
    }
    if (createdParents >= 1 && KeyEmpty(classes, paths.shell)) {
        DeleteKey(classes, paths.shell, firstError);
        if (createdParents >= 2 && KeyEmpty(classes, paths.extension)) {
            DeleteKey(classes, paths.extension, firstError);
        }
    }
    return createdParents;
}

// Closes the classes key, which it may delete.
unsigned long Remove(RegistryKey classes, const std::wstring& program) {
    LSTATUS firstError = ERROR_SUCCESS;
    DWORD madeParents = 0;
    for (const std::string_view extension : ExplorerMenuExtensions()) {
        madeParents = std::max(madeParents, RemoveFor(classes.get(), extension, program, firstError));
    }
    if (madeParents >= 3 && KeyEmpty(classes.get(), associationsPath)) {
        DeleteKey(classes.get(), associationsPath, firstError);
    }
    if (madeParents >= allParents && KeyEmpty(classes.get(), L"")) {
        classes.reset();
        DeleteKey(HKEY_CURRENT_USER, classesPath, firstError);
    }
    return static_cast<unsigned long>(firstError);
}

void TellShell() { SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr); }

}  // namespace

ExplorerMenuState ReadExplorerMenu(const std::wstring& program) {
    RegistryKey classes;
    if (OpenClasses(classes) != ERROR_SUCCESS) return {};
    ExplorerMenuState state{false, true};
    for (const std::string_view extension : ExplorerMenuExtensions()) {
        const VerbPaths paths = PathsFor(extension);
        const std::optional<std::wstring> command = ReadDefault(classes.get(), CommandPath(paths.print));
        state.any = state.any || KeyExists(classes.get(), paths.print);
        state.complete = state.complete && Runs(command, program);
    }
    return state;
}

unsigned long AddExplorerMenu(const std::wstring& program) {
    RegistryKey classes;
    bool madeClasses = false;
    LSTATUS status = OpenClasses(classes, true, &madeClasses);
    if (status != ERROR_SUCCESS) return static_cast<unsigned long>(status);
    for (const std::string_view extension : ExplorerMenuExtensions()) {
        status = AddFor(classes.get(), madeClasses, extension, program);
        if (status != ERROR_SUCCESS) break;
    }
    if (status != ERROR_SUCCESS) Remove(std::move(classes), program);
    TellShell();
    return static_cast<unsigned long>(status);
}

unsigned long RemoveExplorerMenu(const std::wstring& program) {
    RegistryKey classes;
    const LSTATUS status = OpenClasses(classes);
    if (status == ERROR_FILE_NOT_FOUND) return 0;  // no classes of the user's own: nothing to take
    if (status != ERROR_SUCCESS) return static_cast<unsigned long>(status);
    const unsigned long error = Remove(std::move(classes), program);
    TellShell();
    return error;
}

}  // namespace app
