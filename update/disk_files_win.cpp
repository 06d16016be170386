#include "update/disk_files_win.h"

#include <windows.h>

#include <chrono>
#include <thread>

#include "ui/handles_win.h"

namespace update {
namespace {

// Long enough for the old program to end after it started the updater.
constexpr auto moveRetryTime = std::chrono::seconds(5);
constexpr auto moveRetryPause = std::chrono::milliseconds(100);

struct SearchTraits {
    using Handle = HANDLE;
    static Handle invalid() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(Handle h) { return h != INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { FindClose(h); }
};
using Search = ui::UniqueHandle<SearchTraits>;

DWORD Attributes(const std::wstring& path) { return GetFileAttributesW(path.c_str()); }

bool Busy(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED || error == ERROR_LOCK_VIOLATION;
}

}  // namespace

bool DiskFiles::Exists(const std::wstring& path) { return Attributes(path) != INVALID_FILE_ATTRIBUTES; }

// A linked folder could lead out of the program directory: it is no folder to put files in.
bool DiskFiles::IsFolder(const std::wstring& path) {
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
           (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
}

bool DiskFiles::MakeFolder(const std::wstring& path) { return CreateDirectoryW(path.c_str(), nullptr) != FALSE; }

bool DiskFiles::RemoveFolder(const std::wstring& path) { return RemoveDirectoryW(path.c_str()) != FALSE; }

bool DiskFiles::Move(const std::wstring& from, const std::wstring& to) {
    const auto giveUp = std::chrono::steady_clock::now() + moveRetryTime;
    for (;;) {
        if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH)) return true;
        if (!Busy(GetLastError()) || std::chrono::steady_clock::now() >= giveUp) return false;
        std::this_thread::sleep_for(moveRetryPause);
    }
}

bool RemoveTree(const std::wstring& folder) {
    const DWORD attributes = Attributes(folder);
    if (attributes == INVALID_FILE_ATTRIBUTES) return true;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
        return DeleteFileW(folder.c_str()) != FALSE;
    }
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        WIN32_FIND_DATAW found{};
        const Search search(FindFirstFileW((folder + L"\\*").c_str(), &found));
        if (search) {
            do {
                const std::wstring name = found.cFileName;
                if (name != L"." && name != L"..") RemoveTree(folder + L"\\" + name);
            } while (FindNextFileW(search.get(), &found));
        }
    }
    return RemoveDirectoryW(folder.c_str()) != FALSE;
}

}  // namespace update
