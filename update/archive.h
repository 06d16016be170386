// Unpacking a downloaded ZIP archive into the updater's staging folder. Reading and writing go
// through interfaces, so the same code unpacks a file on disk and bytes in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace update {

// The archive as a file of known size that can be read at any offset.
class ArchiveSource {
public:
    virtual ~ArchiveSource() = default;
    virtual std::uint64_t Size() const = 0;
    // Up to bytes.size() bytes from offset; fewer at the end or when reading fails.
    virtual std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> bytes) = 0;
};

class MemoryArchiveSource final : public ArchiveSource {
public:
    explicit MemoryArchiveSource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::uint64_t Size() const override { return bytes_.size(); }
    std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> bytes) override;

private:
    std::span<const std::uint8_t> bytes_;
};

// Where the entries go. Paths are relative to the staging folder, with backslashes, and have
// passed SafeArchivePath. A folder is made before anything is put in it.
class ArchiveSink {
public:
    virtual ~ArchiveSink() = default;
    // A folder that may already exist as a folder.
    virtual bool MakeFolder(const std::wstring& path) = 0;
    // A new file: false when anything already has that name.
    virtual bool StartFile(const std::wstring& path) = 0;
    virtual bool Write(std::span<const std::uint8_t> bytes) = 0;
    // Closes the file started last; false when it could not be written completely.
    virtual bool FinishFile() = 0;
};

struct ArchiveLimits {
    std::size_t maxEntries = 4096;
    std::uint64_t maxTotalBytes = 1ull << 30;  // unpacked, all entries together
};

enum class UnpackError {
    none,
    notAnArchive,  // no ZIP central directory found
    damaged,       // unreadable structure, a CRC error, encryption or an unknown compression
    unsafeEntry,   // a name that could land outside the staging folder, a duplicate, a link
    tooLarge,      // more entries or more unpacked bytes than the limits allow
    writeFailed,
};

struct UnpackResult {
    UnpackError error = UnpackError::none;
    std::vector<std::wstring> files;  // in archive order, as given to StartFile
};

// Whether the bytes begin as a ZIP archive does ("PK\3\4").
bool LooksLikeZip(std::span<const std::uint8_t> firstBytes);

// Every entry of the archive is checked before anything is written: names through
// SafeArchivePath (a name that is not ASCII must be flagged as UTF-8), no two the same when
// letter case is ignored as Windows ignores it, no Unix links, no encryption, stored or deflated only, and the
// entry count and the sizes the archive declares within the limits. Then the entries are
// unpacked in archive order; a CRC error stops the unpacking. After an error the sink may hold
// part of the archive: the caller throws the staging folder away.
UnpackResult UnpackArchive(ArchiveSource& source, ArchiveSink& sink, const ArchiveLimits& limits = {});

}  // namespace update
