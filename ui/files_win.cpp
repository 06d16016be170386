#include "ui/files_win.h"

#include <windows.h>

#include <new>

#include "ui/handles_win.h"
#include "ui/paths.h"

namespace ui {
namespace {

// The program's own folder under %LOCALAPPDATA%.
constexpr wchar_t userFolderName[] = L"墨舟";

std::wstring ExecutablePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);  // long path: try a larger buffer
    }
}

}  // namespace

std::wstring ProgramDirectory() { return std::wstring(FolderPart(ExecutablePath())); }

std::wstring ExecutableFileName() { return std::wstring(FileNamePart(ExecutablePath())); }

std::wstring ProgramPath(std::wstring_view name) {
    std::wstring path = ProgramDirectory();
    path += L'\\';
    path += name;
    return path;
}

bool FolderIsWritable(const std::wstring& folder) {
    const std::wstring probe = folder + L"\\~mozhou-write-probe.tmp";
    const KernelHandle file(CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return static_cast<bool>(file);
}

std::wstring DataFolder() {
    std::wstring program = ProgramDirectory();
    if (FolderIsWritable(program)) return program;
    std::wstring local(MAX_PATH, L'\0');
    const DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", local.data(), static_cast<DWORD>(local.size()));
    if (length == 0 || length >= local.size()) return program;
    local.resize(length);
    std::wstring folder = local + L"\\" + userFolderName;
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

std::wstring DataPath(std::wstring_view name) {
    std::wstring path = DataFolder();
    path += L'\\';
    path += name;
    return path;
}

bool FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::uint8_t> ReadWholeFile(const std::wstring& path) {
    KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return {};
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 ||
        static_cast<std::uint64_t>(size.QuadPart) > largestWholeFileBytes) {
        return {};
    }
    std::vector<std::uint8_t> bytes;
    try {
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
    } catch (const std::bad_alloc&) {
        return {};  // no room left in the address space: as unreadable
    }
    DWORD read = 0;
    if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) {
        return {};
    }
    bytes.resize(read);
    return bytes;
}

namespace {

bool WriteFileContents(const std::wstring& path, std::span<const std::uint8_t> bytes, bool flush) {
    KernelHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size()) {
        return false;
    }
    return !flush || FlushFileBuffers(file.get());
}

}  // namespace

bool WriteWholeFile(const std::wstring& path, std::span<const std::uint8_t> bytes) {
    return WriteFileContents(path, bytes, false);
}

bool ReplaceWholeFile(const std::wstring& path, std::span<const std::uint8_t> bytes) {
    const std::wstring temporary = path + L".new";
    if (WriteFileContents(temporary, bytes, true) &&
        MoveFileExW(temporary.c_str(), path.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return true;
    }
    DeleteFileW(temporary.c_str());
    return false;
}

}  // namespace ui
