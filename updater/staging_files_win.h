// The updater's files on disk: the downloaded archive read back, the staging folder written,
// the program's files moved, and its working folders removed.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <string>

#include "ui/handles_win.h"
#include "update/archive.h"
#include "update/replacement.h"

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

class DiskFiles final : public update::ReplacementFiles {
public:
    bool Exists(const std::wstring& path) override;
    bool IsFolder(const std::wstring& path) override;
    bool MakeFolder(const std::wstring& path) override;
    bool RemoveFolder(const std::wstring& path) override;
    // The old program may still be ending and hold its file: a move is tried again for a while.
    bool Move(const std::wstring& from, const std::wstring& to) override;
};

// A new file for writing, never an existing one: empty when it cannot be made.
ui::KernelHandle CreateNewFile(const std::wstring& path);
bool WriteAll(HANDLE file, std::span<const std::uint8_t> bytes);
bool MakeFolderIfMissing(const std::wstring& path);

// Removes a folder with everything in it. A link inside is removed itself, never what it
// points to. True when nothing of it is left.
bool RemoveTree(const std::wstring& folder);

}  // namespace updater
