#include "picture/picture_object_win.h"

#include <climits>
#include <new>
#include <vector>

#include "picture/decoders.h"
#include "ui/files_win.h"

namespace picture {
namespace {

constexpr DWORD iconFormatVersion = 0x00030000;
constexpr int sixteenBitColour = 16;  // CreateIconFromResource cannot make these either

}  // namespace

std::optional<PictureObject> PictureObject::FromBytes(Bytes bytes, int page) {
    const Kind kind = RecognizeKind(bytes);
    switch (kind) {
    case Kind::None: return std::nullopt;
    case Kind::Icon:
    case Kind::Cursor: return FromIconFile(bytes, kind);
    default: break;
    }
    std::optional<Image> image;
    try {
        image = DecodePicture(bytes, kind, page);
    } catch (const std::bad_alloc&) {
        return std::nullopt;  // too large for the memory left: not a picture we can show
    }
    if (!image || !AcceptableSize(image->width, image->height) ||
        image->pixels.size() < image->Stride() * static_cast<std::size_t>(image->height)) {
        return std::nullopt;
    }
    PictureObject picture(kind, image->width, image->height);
    picture.image_ = std::move(image);
    return picture;
}

PictureObject PictureObject::FromImage(Kind kind, Image image) {
    PictureObject picture(kind, image.width, image.height);
    picture.image_ = std::move(image);
    return picture;
}

FileIcon IconFromFileBytes(Bytes bytes) {
    const std::optional<IconImage> entry = SelectIconImage(bytes);
    if (!entry || entry->size == 0 || entry->offset > bytes.size() ||
        entry->size > bytes.size() - entry->offset) {
        return {};
    }
    // Windows only reads the image data, but its prototype asks for a writable pointer.
    auto* data = const_cast<PBYTE>(bytes.data() + entry->offset);
    const auto size = static_cast<DWORD>(entry->size);  // a 32-bit field of the file
    ui::Icon icon(CreateIconFromResourceEx(data, size, TRUE, iconFormatVersion, entry->width,
                                           entry->height, LR_DEFAULTCOLOR));
    if (!icon && entry->bitCount != sixteenBitColour) {
        icon.reset(CreateIconFromResource(data, size, TRUE, iconFormatVersion));
    }
    if (!icon) return {};
    return {std::move(icon), entry->width, entry->height};
}

std::optional<PictureObject> PictureObject::FromIconFile(Bytes bytes, Kind kind) {
    FileIcon made = IconFromFileBytes(bytes);
    if (!made.icon) return std::nullopt;
    PictureObject picture(kind, made.width, made.height);
    picture.icon_ = std::move(made.icon);
    return picture;
}

std::optional<PictureObject> PictureObject::FromFile(const std::wstring& path) {
    if (path.empty()) return std::nullopt;
    const std::vector<std::uint8_t> bytes = ui::ReadWholeFile(path);
    if (bytes.empty()) return std::nullopt;
    return FromBytes(bytes);
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

}  // namespace picture
