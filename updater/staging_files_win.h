// The updater's files on disk: the downloaded archive read back, the staging folder written
// and its working folders made.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <string>

#include "ui/handles_win.h"
#include "update/archive.h"

namespace updater {

class FileArchiveSource final : public update::ArchiveSource {
public:
    explicit FileArchiveSource(const std::wstring& path);
    bool Opened() const { return static_cast<bool>(file_); }
    std::uint64_t Size() const override { return size_; }
    std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> bytes) override;

private:
    ui::KernelHandle file_;
    std::uint64_t size_ = 0;
};

// Writes entries under a folder; a file is never written over.
class FolderArchiveSink final : public update::ArchiveSink {
public:
    explicit FolderArchiveSink(std::wstring folder) : folder_(std::move(folder)) {}
    bool MakeFolder(const std::wstring& path) override;
    bool StartFile(const std::wstring& path) override;
    bool Write(std::span<const std::uint8_t> bytes) override;
    bool FinishFile() override;

private:
    std::wstring folder_;
    ui::KernelHandle file_;
    bool failed_ = false;
};


// A new file for writing, never an existing one: empty when it cannot be made.
ui::KernelHandle CreateNewFile(const std::wstring& path);
bool WriteAll(HANDLE file, std::span<const std::uint8_t> bytes);
bool MakeFolderIfMissing(const std::wstring& path);


}  // namespace updater
