// Fuzzes the unpacking of update archives from memory: whatever the bytes, nothing reads or
// writes outside its buffers, only safe relative paths reach the sink, and no more is written
// than the limits allow.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "update/archive.h"
#include "update/archive_paths.h"

namespace {

constexpr update::ArchiveLimits limits{.maxEntries = 64, .maxTotalBytes = 1 << 20};

void Check(bool condition) {
    if (!condition) std::abort();
}

struct CountingSink final : update::ArchiveSink {
    std::uint64_t written = 0;
    bool open = false;
    bool MakeFolder(const std::wstring& path) override {
        Check(update::SafeArchivePath(path) == path);
        return true;
    }
    bool StartFile(const std::wstring& path) override {
        Check(!open && update::SafeArchivePath(path) == path && path.back() != L'\\');
        open = true;
        return true;
    }
    bool Write(std::span<const std::uint8_t> bytes) override {
        Check(open);
        written += bytes.size();
        Check(written <= limits.maxTotalBytes);
        return true;
    }
    bool FinishFile() override {
        Check(open);
        open = false;
        return true;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    update::MemoryArchiveSource source({data, size});
    CountingSink sink;
    const update::UnpackResult result = update::UnpackArchive(source, sink, limits);
    Check(!sink.open);
    Check(result.files.size() <= limits.maxEntries);
    return 0;
}
