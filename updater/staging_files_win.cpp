#include "updater/staging_files_win.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace updater {
namespace {

// Long enough for the old program to end after it started the updater.
constexpr auto moveRetryTime = std::chrono::seconds(5);
constexpr auto moveRetryPause = std::chrono::milliseconds(100);
constexpr DWORD largestRead = 1u << 20;

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

FileArchiveSource::FileArchiveSource(const std::wstring& path)
    : file_(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr)) {
    LARGE_INTEGER size{};
    if (file_ && GetFileSizeEx(file_.get(), &size)) size_ = static_cast<std::uint64_t>(size.QuadPart);
    else file_.reset();
}

std::size_t FileArchiveSource::ReadAt(std::uint64_t offset, std::span<std::uint8_t> bytes) {
    std::size_t total = 0;
    while (total < bytes.size()) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset + total);
        at.OffsetHigh = static_cast<DWORD>((offset + total) >> 32);
        DWORD got = 0;
        const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - total, largestRead));
        if (!ReadFile(file_.get(), bytes.data() + total, wanted, &got, &at) || got == 0) break;
        total += got;
    }
    return total;
}

bool FolderArchiveSink::MakeFolder(const std::wstring& path) { return MakeFolderIfMissing(folder_ + L"\\" + path); }

bool FolderArchiveSink::StartFile(const std::wstring& path) {
    file_ = CreateNewFile(folder_ + L"\\" + path);
    failed_ = false;
    return static_cast<bool>(file_);
}

bool FolderArchiveSink::Write(std::span<const std::uint8_t> bytes) {
    failed_ = failed_ || !WriteAll(file_.get(), bytes);
    return !failed_;
}

bool FolderArchiveSink::FinishFile() {
    const bool written = file_ && !failed_ && FlushFileBuffers(file_.get());
    file_.reset();
    return written;
}

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

ui::KernelHandle CreateNewFile(const std::wstring& path) {
    return ui::KernelHandle(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool WriteAll(HANDLE file, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        DWORD written = 0;
        const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), largestRead));
        if (!WriteFile(file, bytes.data(), wanted, &written, nullptr) || written == 0) return false;
        bytes = bytes.subspan(written);
    }
    return true;
}

bool MakeFolderIfMissing(const std::wstring& path) {
    if (CreateDirectoryW(path.c_str(), nullptr)) return true;
    const DWORD attributes = Attributes(path);
    return GetLastError() == ERROR_ALREADY_EXISTS && attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
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

}  // namespace updater
