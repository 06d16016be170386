// libheif loaded from the program's own folder when the first HEIC picture is opened. libheif and
// libde265 are LGPL libraries kept as DLLs beside the program, which users may replace or leave
// out; without them everything else works and HEIC files are refused.
//
// Only the program's folder is searched, for libheif and for the libde265 it imports, never the
// current directory or PATH: a DLL planted beside a picture must not be loaded.
#include <windows.h>

#include <cstdint>
#include <string>

#include "picture/heif_library.h"
#include "ui/files_win.h"
#include "ui/handles_win.h"

namespace picture {
namespace {

constexpr const wchar_t* heifLibraryFile = L"libheif.dll";
// The interface the decoder was written for; later 1.x releases keep it.
constexpr std::uint32_t oldestVersion = 0x010F0000;  // 1.15.0
constexpr std::uint32_t majorVersionMask = 0xFF000000;

ui::Module LoadFromProgramDirectory(const std::wstring& path) {
    // The DLL's own folder for its imports, then System32 (Windows 7 with KB2533623 and later).
    ui::Module module(
        LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32));
    if (!module && GetLastError() == ERROR_INVALID_PARAMETER) {
        // Without those flags: the altered search path also looks in the DLL's folder first.
        module.reset(LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
    }
    return module;
}

// The table when every function is there and the version fits; the module is then kept.
bool Fill(HMODULE module, HeifLibrary& library) {
    bool complete = true;
#define MOZHOU_HEIF_ADDRESS(name)                                                              \
    library.name = reinterpret_cast<decltype(library.name)>(                                  \
        reinterpret_cast<void (*)()>(GetProcAddress(module, #name)));                          \
    complete = complete && library.name != nullptr;
    MOZHOU_HEIF_FUNCTIONS(MOZHOU_HEIF_ADDRESS)
#undef MOZHOU_HEIF_ADDRESS
    if (!complete) return false;
    const std::uint32_t version = library.heif_get_version_number();
    return (version & majorVersionMask) == (oldestVersion & majorVersionMask) && version >= oldestVersion;
}

}  // namespace

const HeifLibrary* LoadHeifLibrary() {
    static HeifLibrary library;
    static bool loaded = false;
    if (loaded) return &library;
    // Tried again at each HEIC picture while it fails, so that DLLs put in place later are used.
    ui::Module module = LoadFromProgramDirectory(ui::ProgramPath(heifLibraryFile));
    if (!module || !Fill(module.get(), library)) {
        library = {};
        return nullptr;
    }
    module.release();  // for the life of the process: the table points into it
    loaded = true;
    return &library;
}

}  // namespace picture
