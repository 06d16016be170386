#include "picture/picture_object_win.h"

#include <climits>
#include <vector>

#include "picture/decoders.h"

namespace picture {
namespace {

constexpr DWORD iconFormatVersion = 0x00030000;
constexpr int sixteenBitColour = 16;  // CreateIconFromResource cannot make these either
// No picture file the decoders accept comes near this; larger files are not read at all.
constexpr LONGLONG largestFileBytes = 512ll * 1024 * 1024;

std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::wstring& path) {
    ui::KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > largestFileBytes) return std::nullopt;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD read = 0;
        const DWORD wanted = static_cast<DWORD>(bytes.size() - done);
        if (!ReadFile(file.get(), bytes.data() + done, wanted, &read, nullptr) || read == 0) {
            return std::nullopt;
        }
        done += read;
    }
    return bytes;
}

}  // namespace

std::optional<PictureObject> PictureObject::FromBytes(Bytes bytes) {
    const Kind kind = RecognizeKind(bytes);
    switch (kind) {
    case Kind::None: return std::nullopt;
    case Kind::Icon:
    case Kind::Cursor: return FromIconFile(bytes, kind);
    default: break;
    }
    std::optional<Image> image = DecodePicture(bytes, kind);
    if (!image || !AcceptableSize(image->width, image->height) ||
        image->pixels.size() < image->Stride() * static_cast<std::size_t>(image->height)) {
        return std::nullopt;
    }
    PictureObject picture(kind, image->width, image->height);
    picture.image_ = std::move(image);
    return picture;
}

std::optional<PictureObject> PictureObject::FromIconFile(Bytes bytes, Kind kind) {
    const std::optional<IconImage> entry = SelectIconImage(bytes);
    if (!entry || entry->size == 0 || entry->offset > bytes.size() ||
        entry->size > bytes.size() - entry->offset) {
        return std::nullopt;
    }
    // Windows only reads the image data, but its prototype asks for a writable pointer.
    auto* data = const_cast<PBYTE>(bytes.data() + entry->offset);
    const auto size = static_cast<DWORD>(entry->size);  // a 32-bit field of the file
    ui::Icon icon(CreateIconFromResourceEx(data, size, TRUE, iconFormatVersion, entry->width,
                                           entry->height, LR_DEFAULTCOLOR));
    if (!icon && entry->bitCount != sixteenBitColour) {
        icon.reset(CreateIconFromResource(data, size, TRUE, iconFormatVersion));
    }
    if (!icon) return std::nullopt;
    PictureObject picture(kind, entry->width, entry->height);
    picture.icon_ = std::move(icon);
    return picture;
}

std::optional<PictureObject> PictureObject::FromFile(const std::wstring& path) {
    if (path.empty()) return std::nullopt;
    const auto bytes = ReadFileBytes(path);
    if (!bytes) return std::nullopt;
    return FromBytes(*bytes);
}

int PictureTable::Load(Bytes bytes) {
    std::optional<PictureObject> picture = PictureObject::FromBytes(bytes);
    return picture ? Add(std::move(*picture)) : 0;
}

int PictureTable::LoadFile(const std::wstring& path) {
    std::optional<PictureObject> picture = PictureObject::FromFile(path);
    return picture ? Add(std::move(*picture)) : 0;
}

int PictureTable::Add(PictureObject picture) {
    // Handles count up and wrap round past the live ones.
    const auto advance = [this] { next_ = next_ == INT_MAX ? 1 : next_ + 1; };
    while (pictures_.contains(next_)) advance();
    const int handle = next_;
    advance();
    pictures_.emplace(handle, std::move(picture));
    return handle;
}

const PictureObject* PictureTable::Find(int handle) const {
    const auto found = pictures_.find(handle);
    return found != pictures_.end() ? &found->second : nullptr;
}

void PictureTable::Free(int handle) { pictures_.erase(handle); }

PictureTable& Pictures() {
    static PictureTable table;
    return table;
}

}  // namespace picture
