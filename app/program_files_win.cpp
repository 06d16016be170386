#include "app/program_files_win.h"

#include <windows.h>

#include "ui/handles_win.h"

namespace app {
namespace {

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

std::size_t LastSeparator(const std::wstring& path) { return path.find_last_of(L"\\/"); }

}  // namespace

std::wstring ProgramDirectory() {
    const std::wstring path = ExecutablePath();
    const std::size_t separator = LastSeparator(path);
    return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator);
}

std::wstring ExecutableFileName() {
    const std::wstring path = ExecutablePath();
    const std::size_t separator = LastSeparator(path);
    return separator == std::wstring::npos ? path : path.substr(separator + 1);
}

std::wstring ProgramPath(std::wstring_view name) {
    std::wstring path = ProgramDirectory();
    path += L'\\';
    path += name;
    return path;
}

bool FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::uint8_t> ReadWholeFile(const std::wstring& path) {
    ui::KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return {};
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 || size.QuadPart > MAXDWORD / 2) {
        return {};
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) {
        return {};
    }
    bytes.resize(read);
    return bytes;
}

namespace {

bool WriteFileContents(const std::wstring& path, std::span<const std::uint8_t> bytes, bool flush) {
    ui::KernelHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
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

}  // namespace app
