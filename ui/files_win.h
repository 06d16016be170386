// The program directory, the folder of the program's own files, and whole-file reads and writes.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

// No file the program reads as a whole is meant to be this large: a larger one is refused before
// anything is read, so that it cannot exhaust a 32-bit process.
inline constexpr std::uint64_t largestWholeFileBytes = 256u * 1024 * 1024;

// The directory of the running executable, without a trailing backslash.
std::wstring ProgramDirectory();
// The executable's file name without its directory, as the system reports it.
std::wstring ExecutableFileName();
// ProgramDirectory() + "\" + name.
std::wstring ProgramPath(std::wstring_view name);

// Where the program keeps the files it writes (the print backup, the background picture, the
// updater): the program directory while the user can write there, as for a program kept in a
// folder of its own; otherwise, as under "Program Files", the user's own folder
// %LOCALAPPDATA%\墨舟, made when missing. Reading goes to the same folder as writing.
std::wstring DataFolder();
// DataFolder() + "\" + name.
std::wstring DataPath(std::wstring_view name);
// The user's own folder %LOCALAPPDATA%\墨舟, made when missing; empty when there is none.
std::wstring UserDataFolder();
// The user's roaming folder %APPDATA%\墨舟 for settings that follow the user, made when missing;
// empty when there is none.
std::wstring UserSettingsFolder();
// Whether a new file can be made in the folder (it is removed again at once).
bool FolderIsWritable(const std::wstring& folder);

bool FileExists(const std::wstring& path);

// Why a file was not read.
enum class ReadFailure { none, tooLarge, unreadable };
struct FileContents {
    std::vector<std::uint8_t> bytes;
    ReadFailure failure = ReadFailure::none;
};
// The whole file, or why it could not be read: missing, a folder, locked by another program,
// or larger than largestWholeFileBytes.
FileContents ReadFileContents(const std::wstring& path);
// The whole file, or nothing when it cannot be read or is larger than largestWholeFileBytes.
std::vector<std::uint8_t> ReadWholeFile(const std::wstring& path);

// The writes return false when the file could not be written completely, with the reason in
// GetLastError().
// Creates or replaces the file.
bool WriteWholeFile(const std::wstring& path, std::span<const std::uint8_t> bytes);
// Replaces the file in one step: the bytes go to a new file in the same folder first, which then
// takes its place. A failed write leaves the old file as it was.
bool ReplaceWholeFile(const std::wstring& path, std::span<const std::uint8_t> bytes);

// The system's wording of a Windows error, on one line; "错误" and the number when it has none.
std::wstring SystemErrorText(unsigned long errorCode);

}  // namespace ui
