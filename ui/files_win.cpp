#include "ui/files_win.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <new>

#include "ui/handles_win.h"
#include "ui/paths.h"
#include "ui/ui_texts.h"

namespace ui {
namespace {

// A text a Windows function writes into a buffer of the size it is given: the function returns
// the length written, 0 on failure, or at least the buffer's size when the buffer is too small
// (GetModuleFileNameW: its size; GetEnvironmentVariableW: the size it needs).
template <typename Read>
std::wstring ReadGrowing(Read read) {
    std::wstring text(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = read(text.data(), static_cast<DWORD>(text.size()));
        if (length == 0) return {};
        if (length < text.size()) {
            text.resize(length);
            return text;
        }
        text.resize(std::max<std::size_t>(text.size() * 2, length));
    }
}

std::wstring ExecutablePath() {
    return ReadGrowing([](wchar_t* buffer, DWORD size) { return GetModuleFileNameW(nullptr, buffer, size); });
}

std::wstring EnvironmentVariable(const wchar_t* name) {
    return ReadGrowing([name](wchar_t* buffer, DWORD size) { return GetEnvironmentVariableW(name, buffer, size); });
}

// %LOCALAPPDATA%, or where the shell keeps it when the variable is not set.
std::wstring LocalAppData() {
    std::wstring folder = EnvironmentVariable(L"LOCALAPPDATA");
    if (folder.empty()) {
        wchar_t path[MAX_PATH] = {};
        if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                                       SHGFP_TYPE_CURRENT, path))) {
            folder = path;
        }
    }
    while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
    return folder;
}

// A short write without an error: the disk filled meanwhile.
DWORD WriteFileContents(const std::wstring& path, std::span<const std::uint8_t> bytes, bool flush) {
    KernelHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return GetLastError();
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
        return GetLastError();
    }
    if (written != bytes.size()) return ERROR_DISK_FULL;
    if (flush && !FlushFileBuffers(file.get())) return GetLastError();
    return ERROR_SUCCESS;
}

// Leaves the outcome where callers of Windows functions look for it.
bool Succeeded(DWORD error) {
    SetLastError(error);
    return error == ERROR_SUCCESS;
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

// The probe's name is this process's own, and it goes when its handle closes, even when the
// process ends abruptly.
bool FolderIsWritable(const std::wstring& folder) {
    const std::wstring probe = folder + L"\\~mozhou-probe-" + std::to_wstring(GetCurrentProcessId()) + L".tmp";
    const KernelHandle file(CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return static_cast<bool>(file);
}

std::wstring UserDataFolder() {
    const std::wstring local = LocalAppData();
    if (local.empty()) return {};
    std::wstring folder = local + L"\\" + userFolderName;
    if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return {};
    return folder;
}

std::wstring UserSettingsFolder() {
    PWSTR roaming = nullptr;
    const HRESULT found = SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_CREATE, nullptr, &roaming);
    std::wstring folder = SUCCEEDED(found) && roaming != nullptr ? roaming : L"";
    CoTaskMemFree(roaming);
    while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
    if (folder.empty()) return {};
    folder += L'\\';
    folder += userFolderName;
    if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return {};
    return folder;
}

// Without a user folder the program directory stays the place: its reads still work, and its
// writes say why they failed.
std::wstring DataFolder() {
    std::wstring program = ProgramDirectory();
    if (FolderIsWritable(program)) return program;
    std::wstring user = UserDataFolder();
    return user.empty() ? program : user;
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

FileContents ReadFileContents(const std::wstring& path) {
    FileContents contents{{}, ReadFailure::unreadable};
    // A folder, or a file another program holds without sharing, does not open.
    KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size)) return contents;
    if (static_cast<std::uint64_t>(size.QuadPart) > largestWholeFileBytes) {
        contents.failure = ReadFailure::tooLarge;
        return contents;
    }
    try {
        contents.bytes.resize(static_cast<std::size_t>(size.QuadPart));
    } catch (const std::bad_alloc&) {
        contents.failure = ReadFailure::tooLarge;  // no room left in the address space
        return contents;
    }
    std::size_t filled = 0;
    while (filled < contents.bytes.size()) {
        DWORD read = 0;
        if (!ReadFile(file.get(), contents.bytes.data() + filled,
                      static_cast<DWORD>(contents.bytes.size() - filled), &read, nullptr)) {
            contents.bytes.clear();
            return contents;
        }
        if (read == 0) break;  // the file became shorter meanwhile
        filled += read;
    }
    contents.bytes.resize(filled);
    contents.failure = ReadFailure::none;
    return contents;
}

std::vector<std::uint8_t> ReadWholeFile(const std::wstring& path) {
    return ReadFileContents(path).bytes;
}

bool WriteWholeFile(const std::wstring& path, std::span<const std::uint8_t> bytes) {
    return Succeeded(WriteFileContents(path, bytes, false));
}

// The new file is this process's own, beside the target: the same volume, so the move is a
// rename, and no file of the user's is overwritten on the way.
bool ReplaceWholeFile(const std::wstring& path, std::span<const std::uint8_t> bytes) {
    const std::wstring temporary = path + L".~" + std::to_wstring(GetCurrentProcessId());
    DWORD error = WriteFileContents(temporary, bytes, true);
    if (error == ERROR_SUCCESS &&
        !MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = GetLastError();
    }
    if (error != ERROR_SUCCESS) DeleteFileW(temporary.c_str());
    return Succeeded(error);
}

std::wstring SystemErrorText(unsigned long errorCode) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        errorCode, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length != 0 && buffer != nullptr ? std::wstring(buffer, length) : std::wstring();
    LocalFree(buffer);
    // The system ends its wording with a line break.
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) text.pop_back();
    if (text.empty()) text = errorNumberLabel + std::to_wstring(errorCode);
    return text;
}

}  // namespace ui
