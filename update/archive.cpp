#include "update/archive.h"

#include <minizip/unzip.h>

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <set>
#include <string_view>

#include "ui/unicode.h"
#include "update/archive_paths.h"
#include "update/name_case.h"

namespace update {
namespace {

constexpr std::uint8_t zipSignature[] = {'P', 'K', 3, 4};
constexpr std::size_t longestEntryName = 1024;
constexpr std::size_t unpackPiece = 64 * 1024;
constexpr unsigned long utf8NameFlag = 1u << 11;
constexpr unsigned long encryptedFlag = 1u << 0;
constexpr unsigned long storedMethod = 0;
constexpr unsigned long deflatedMethod = Z_DEFLATED;
// "Version made by" names the system in its high byte; Unix keeps the file mode in the upper
// half of the external attributes.
constexpr unsigned long madeOnUnix = 3;
constexpr unsigned long unixTypeMask = 0170000;
constexpr unsigned long unixLink = 0120000;

// minizip reads through these callbacks; the stream is the cursor below.
struct Cursor {
    ArchiveSource& source;
    std::uint64_t position = 0;
    bool failed = false;
};

voidpf ZCALLBACK OpenStream(voidpf opaque, const void*, int) { return opaque; }

uLong ZCALLBACK ReadStream(voidpf, voidpf stream, void* buffer, uLong size) {
    auto& cursor = *static_cast<Cursor*>(stream);
    const std::size_t got =
        cursor.source.ReadAt(cursor.position, {static_cast<std::uint8_t*>(buffer), size});
    cursor.position += got;
    return static_cast<uLong>(got);
}

uLong ZCALLBACK WriteStream(voidpf, voidpf, const void*, uLong) { return 0; }

ZPOS64_T ZCALLBACK TellStream(voidpf, voidpf stream) { return static_cast<Cursor*>(stream)->position; }

long ZCALLBACK SeekStream(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
    auto& cursor = *static_cast<Cursor*>(stream);
    const std::uint64_t size = cursor.source.Size();
    std::uint64_t base = 0;
    switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET: base = 0; break;
    case ZLIB_FILEFUNC_SEEK_CUR: base = cursor.position; break;
    case ZLIB_FILEFUNC_SEEK_END: base = size; break;
    default: return -1;
    }
    if (offset > size || base > size - offset) {
        cursor.failed = true;
        return -1;
    }
    cursor.position = base + offset;
    return 0;
}

int ZCALLBACK CloseStream(voidpf, voidpf) { return 0; }

int ZCALLBACK StreamError(voidpf, voidpf stream) { return static_cast<Cursor*>(stream)->failed ? 1 : 0; }

struct ZipCloser {
    void operator()(unzFile zip) const { unzClose(zip); }
};
using ZipFile = std::unique_ptr<std::remove_pointer_t<unzFile>, ZipCloser>;

// Strict UTF-8: no overlong forms, surrogates or values past U+10FFFF. wchar_t is UTF-16 on
// Windows and UTF-32 where the tests run natively.
std::optional<std::wstring> DecodeUtf8(std::string_view bytes) {
    std::wstring text;
    for (std::size_t i = 0; i < bytes.size();) {
        const ui::CodePointRead read = ui::Utf8CodePointAt(bytes, i);
        if (read.length == 0) return std::nullopt;
        if constexpr (sizeof(wchar_t) == 2) {
            ui::AppendUtf16(text, read.codePoint);
        } else {
            text += static_cast<wchar_t>(read.codePoint);
        }
        i += read.length;
    }
    return text;
}

struct Entry {
    std::wstring path;  // a trailing backslash marks a folder
    std::uint64_t size = 0;
};

// The current entry's name and size, or the reason it is refused.
UnpackError ReadEntry(unzFile zip, Entry& entry) {
    unz_file_info64 info{};
    std::array<char, longestEntryName + 1> name{};
    if (unzGetCurrentFileInfo64(zip, &info, name.data(), name.size(), nullptr, 0, nullptr, 0) != UNZ_OK) {
        return UnpackError::damaged;
    }
    if (info.size_filename > longestEntryName) return UnpackError::unsafeEntry;
    if ((info.flag & encryptedFlag) != 0) return UnpackError::damaged;
    if (info.compression_method != storedMethod && info.compression_method != deflatedMethod) {
        return UnpackError::damaged;
    }
    if ((info.version >> 8) == madeOnUnix && ((info.external_fa >> 16) & unixTypeMask) == unixLink) {
        return UnpackError::unsafeEntry;
    }
    const std::string_view raw(name.data(), info.size_filename);
    const bool ascii = std::all_of(raw.begin(), raw.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    // Without the flag a name is in whatever code page made the archive: where it lands is unknown.
    if (!ascii && (info.flag & utf8NameFlag) == 0) return UnpackError::unsafeEntry;
    const std::optional<std::wstring> decoded = DecodeUtf8(raw);
    if (!decoded) return UnpackError::unsafeEntry;
    std::optional<std::wstring> path = SafeArchivePath(*decoded);
    if (!path) return UnpackError::unsafeEntry;
    entry.path = std::move(*path);
    entry.size = info.uncompressed_size;
    return UnpackError::none;
}

bool IsFolder(const std::wstring& path) { return path.back() == L'\\'; }

// Every entry, checked, before anything is written.
UnpackError ListEntries(unzFile zip, const ArchiveLimits& limits, std::vector<Entry>& entries) {
    std::set<std::wstring> seen;
    std::uint64_t total = 0;
    for (int status = unzGoToFirstFile(zip); status != UNZ_END_OF_LIST_OF_FILE; status = unzGoToNextFile(zip)) {
        if (status != UNZ_OK) return UnpackError::damaged;
        if (entries.size() == limits.maxEntries) return UnpackError::tooLarge;
        Entry entry;
        if (const UnpackError error = ReadEntry(zip, entry); error != UnpackError::none) return error;
        std::wstring key = FileNameKey(entry.path);
        if (IsFolder(key)) key.pop_back();
        if (!seen.insert(std::move(key)).second) return UnpackError::unsafeEntry;
        if (entry.size > limits.maxTotalBytes - total) return UnpackError::tooLarge;
        total += entry.size;
        entries.push_back(std::move(entry));
    }
    return UnpackError::none;
}

class Unpacker {
public:
    Unpacker(unzFile zip, ArchiveSink& sink) : zip_(zip), sink_(sink) {}

    UnpackError Folders(const std::wstring& path) {
        for (std::size_t end = path.find(L'\\'); end != std::wstring::npos; end = path.find(L'\\', end + 1)) {
            std::wstring folder = path.substr(0, end);
            if (made_.contains(folder)) continue;
            if (!sink_.MakeFolder(folder)) return UnpackError::writeFailed;
            made_.insert(std::move(folder));
        }
        return UnpackError::none;
    }

    // The current entry; never more bytes than it declares (minizip stops there).
    UnpackError File(const Entry& entry) {
        if (unzOpenCurrentFile(zip_) != UNZ_OK) return UnpackError::damaged;
        if (!sink_.StartFile(entry.path)) {
            unzCloseCurrentFile(zip_);
            return UnpackError::writeFailed;
        }
        std::vector<std::uint8_t> piece(unpackPiece);
        std::uint64_t written = 0;
        UnpackError error = UnpackError::none;
        for (;;) {
            const int got = unzReadCurrentFile(zip_, piece.data(), static_cast<unsigned>(piece.size()));
            if (got == 0) break;
            if (got < 0) {
                error = UnpackError::damaged;  // UNZ_CRCERROR among them
                break;
            }
            written += static_cast<unsigned>(got);
            if (written > entry.size) {
                error = UnpackError::damaged;
                break;
            }
            if (!sink_.Write({piece.data(), static_cast<std::size_t>(got)})) {
                error = UnpackError::writeFailed;
                break;
            }
        }
        const bool finished = sink_.FinishFile();
        const int closed = unzCloseCurrentFile(zip_);
        if (error != UnpackError::none) return error;
        if (closed != UNZ_OK || written != entry.size) return UnpackError::damaged;
        return finished ? UnpackError::none : UnpackError::writeFailed;
    }

private:
    unzFile zip_;
    ArchiveSink& sink_;
    std::set<std::wstring> made_;
};

}  // namespace

std::size_t MemoryArchiveSource::ReadAt(std::uint64_t offset, std::span<std::uint8_t> bytes) {
    if (offset >= bytes_.size()) return 0;
    const std::size_t count = std::min<std::uint64_t>(bytes.size(), bytes_.size() - offset);
    std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), count, bytes.begin());
    return count;
}

bool LooksLikeZip(std::span<const std::uint8_t> firstBytes) {
    return firstBytes.size() >= std::size(zipSignature) &&
           std::equal(std::begin(zipSignature), std::end(zipSignature), firstBytes.begin());
}

UnpackResult UnpackArchive(ArchiveSource& source, ArchiveSink& sink, const ArchiveLimits& limits) {
    Cursor cursor{source};
    zlib_filefunc64_def callbacks{OpenStream, ReadStream,  WriteStream, TellStream,
                                  SeekStream, CloseStream, StreamError, &cursor};
    const ZipFile zip(unzOpen2_64("archive", &callbacks));
    if (!zip) return {UnpackError::notAnArchive, {}};

    std::vector<Entry> entries;
    if (const UnpackError error = ListEntries(zip.get(), limits, entries); error != UnpackError::none) {
        return {error, {}};
    }
    UnpackResult result;
    Unpacker unpacker(zip.get(), sink);
    std::size_t index = 0;
    for (int status = unzGoToFirstFile(zip.get()); index < entries.size();
         status = unzGoToNextFile(zip.get()), ++index) {
        const Entry& entry = entries[index];
        if (status != UNZ_OK) result.error = UnpackError::damaged;
        else if (IsFolder(entry.path)) result.error = unpacker.Folders(entry.path);
        else if ((result.error = unpacker.Folders(entry.path)) == UnpackError::none) {
            result.error = unpacker.File(entry);
            if (result.error == UnpackError::none) result.files.push_back(entry.path);
        }
        if (result.error != UnpackError::none) return result;
    }
    return result;
}

}  // namespace update
