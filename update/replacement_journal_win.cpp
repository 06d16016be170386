#include "update/replacement_journal_win.h"

#include <windows.h>

#include <vector>

#include "ui/files_win.h"
#include "ui/text_win.h"
#include "update/disk_files_win.h"
#include "update/update_rules.h"

namespace update {
namespace {

// A journal holds a few lines for each file of an update: anything larger is no journal.
constexpr DWORD largestJournal = 4u << 20;

std::wstring ReadJournal(HANDLE file) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size) || size.QuadPart > largestJournal) return {};
    std::wstring text(static_cast<std::size_t>(size.QuadPart) / sizeof(wchar_t), L'\0');
    DWORD read = 0;
    const auto bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (!ReadFile(file, text.data(), bytes, &read, nullptr)) return {};
    text.resize(read / sizeof(wchar_t));
    return text;
}

// Whether the path lies inside the folder, letter case ignored as Windows ignores it.
bool Inside(const std::wstring& path, const std::wstring& folder) {
    const std::wstring prefix = folder + L"\\";
    return path.size() > prefix.size() &&
           CompareStringOrdinal(path.c_str(), static_cast<int>(prefix.size()), prefix.c_str(),
                                static_cast<int>(prefix.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

std::wstring JournalPath(const std::wstring& updaterFolder) {
    return updaterFolder + L"\\" + std::wstring(journalFileName);
}

JournalFile::JournalFile(const std::wstring& path)
    : file_(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr)) {}

bool JournalFile::Append(std::wstring_view line) {
    const std::wstring text = std::wstring(line) + L"\n";
    const auto bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    DWORD written = 0;
    return file_ && WriteFile(file_.get(), text.data(), bytes, &written, nullptr) && written == bytes &&
           FlushFileBuffers(file_.get());
}

Recovery RecoverInterruptedReplacement(const std::wstring& updaterFolder) {
    const std::wstring path = JournalPath(updaterFolder);
    ui::KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return Recovery::none;
    const std::wstring journal = ReadJournal(file.get());
    DiskFiles disk;
    const Recovery recovery = RecoverReplacement(disk, journal);
    if (recovery == Recovery::damaged) return recovery;
    // Only a backup in the updater's own folder is the replacement's to remove.
    if (const std::wstring backup = JournalFolder(journal, backupLine); Inside(backup, updaterFolder)) {
        RemoveTree(backup);
    }
    file.reset();
    DeleteFileW(path.c_str());
    return recovery;
}

void RecoverInterruptedUpdate() {
    RecoverInterruptedReplacement(ui::ProgramPath(ui::Widen(updaterFolder)));
}

}  // namespace update
