#include "updater/staging_files_win.h"

#include <algorithm>

namespace updater {
namespace {

constexpr DWORD largestRead = 1u << 20;


DWORD Attributes(const std::wstring& path) { return GetFileAttributesW(path.c_str()); }


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


}  // namespace updater
