// HEIC pictures (HEIF files of HEVC pictures) and AVIF pictures (of AV1 pictures), decoded by
// libheif with libde265 and dav1d through the table of heif_library.h: without the library there
// is no such picture (nullopt).
//
// The file's primary image is decoded, grids (a picture stored as tiles) included, 8 or 10 bits a
// sample, with or without alpha. libheif turns and mirrors it by the container's irot and imir
// boxes (and cuts it by clap) as it decodes, and its handle already gives that upright size. An
// EXIF block in the file may record an orientation too: it tells of the same turn, which libheif
// has made, so it is not applied again. HEIF has no place for a resolution of its own: none (0)
// is given.
//
// libheif converts the colours to 8-bit RGB, or RGBA for a picture with alpha (Bgra32, not
// premultiplied: a file that stores its colours premultiplied by alpha is divided back). Those
// rows are copied into the image's BGR rows in one pass; the image is allocated only once libheif
// has decoded, so that memory peaks where libheif's own decoding does.
//
// Sizes are checked before anything is decoded: libheif refuses a side beyond the longest
// acceptable while reading the file, the primary image's size must be acceptable, and so must
// the size that each grid's or overlay's own data states (see DerivedSizesAcceptable). A file
// libheif cannot read or decode, data that ends early included, gives nullopt.
#include <algorithm>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "picture/decoders.h"
#include "picture/exif.h"
#include "picture/heif_library.h"

namespace picture {
namespace {

constexpr int longestSide = 65535;  // as AcceptableSize takes it

// Gives a libheif object back through the table.
template <auto release>
struct Release {
    const HeifLibrary* heif = nullptr;
    template <typename T>
    void operator()(T* object) const {
        (heif->*release)(object);
    }
};
using Context = std::unique_ptr<heif_context, Release<&HeifLibrary::heif_context_free>>;
using Handle = std::unique_ptr<heif_image_handle, Release<&HeifLibrary::heif_image_handle_release>>;
using Decoded = std::unique_ptr<heif_image, Release<&HeifLibrary::heif_image_release>>;

bool Ok(heif_error error) { return error.code == heif_error_Ok; }

// Big-endian fields read one after another; once one lies past the end, it and all that follow
// read as 0 and the reader has failed.
class Fields {
public:
    explicit Fields(Bytes bytes) : bytes_(bytes) {}
    std::uint64_t Next(std::uint64_t size) {  // up to 8 bytes
        const std::uint8_t* at = bytes_.data();
        if (!Skip(size > 8 ? bytes_.size() + std::uint64_t{1} : size)) return 0;
        std::uint64_t value = 0;
        for (std::uint64_t i = 0; i < size; ++i) value = value << 8 | at[i];
        return value;
    }
    bool Skip(std::uint64_t count) {
        failed_ = failed_ || count > bytes_.size();
        bytes_ = failed_ ? Bytes{} : bytes_.subspan(static_cast<std::size_t>(count));
        return !failed_;
    }
    Bytes Rest() const { return bytes_; }
    bool Failed() const { return failed_; }

private:
    Bytes bytes_;
    bool failed_ = false;
};

constexpr std::uint32_t FourCc(const char (&name)[5]) {
    std::uint32_t code = 0;
    for (int i = 0; i < 4; ++i) code = code << 8 | static_cast<std::uint8_t>(name[i]);
    return code;
}

struct Box {
    std::uint32_t type = 0;
    Bytes body;  // after the header
};

// The box that bytes start with, which are then moved past it; nullopt when it does not fit.
std::optional<Box> NextBox(Bytes& bytes) {
    Fields fields(bytes);
    std::uint64_t size = fields.Next(4);
    const auto type = static_cast<std::uint32_t>(fields.Next(4));
    if (size == 1) size = fields.Next(8);  // a 64-bit size follows
    if (size == 0) size = bytes.size();    // to the end
    const std::size_t header = bytes.size() - fields.Rest().size();
    if (fields.Failed() || size < header || size > bytes.size()) return std::nullopt;
    const auto end = static_cast<std::size_t>(size);
    const Box box{type, bytes.subspan(header, end - header)};
    bytes = bytes.subspan(end);
    return box;
}

// The body of the first box of that type among the boxes that fill bytes.
std::optional<Bytes> FindBox(Bytes bytes, std::uint32_t type) {
    while (const auto box = NextBox(bytes)) {
        if (box->type == type) return box->body;
    }
    return std::nullopt;
}

// Whether the size that a grid's (or an overlay's) own data states at offset `at` of `from` is
// acceptable; `length` 0 stands for the rest of `from`.
bool StatedSizeAcceptable(Bytes from, std::uint64_t at, std::uint64_t length, bool grid) {
    if (at > from.size()) return false;
    const std::size_t start = static_cast<std::size_t>(at), left = from.size() - start;
    Fields data(from.subspan(start, length == 0 || length > left ? left : static_cast<std::size_t>(length)));
    data.Next(1);  // version
    const int sizeField = data.Next(1) & 1 ? 4 : 2;  // by the flags
    data.Skip(grid ? 2 : 8);  // rows and columns less one; or the overlay's fill colour
    const std::uint64_t width = data.Next(sizeField), height = data.Next(sizeField);
    return !data.Failed() &&
           AcceptableSize(static_cast<std::int64_t>(width), static_cast<std::int64_t>(height));
}

// libheif 1.15 makes a grid or overlay image as large as its own data says, unchecked against its
// ispe box (whose size it does check) and without looking whether the memory was there; so every
// grid's and overlay's stated size is read from the meta box first. False when one is not
// acceptable, or the item boxes that say where they lie cannot be read.
bool DerivedSizesAcceptable(Bytes file) {
    const auto meta = FindBox(file, FourCc("meta"));
    if (!meta || meta->size() < 4) return false;
    const Bytes boxes = meta->subspan(4);  // after the version and flags
    const auto iinf = FindBox(boxes, FourCc("iinf"));
    const auto iloc = FindBox(boxes, FourCc("iloc"));
    if (!iinf || !iloc) return false;
    std::vector<std::pair<std::uint64_t, bool>> derived;  // item ids, and whether each is a grid
    Fields info(*iinf);
    info.Skip(info.Next(1) == 0 ? 5 : 7);  // the version, flags and entry count
    for (Bytes entries = info.Rest(); const auto entry = NextBox(entries);) {
        Fields infe(entry->body);
        const auto version = infe.Next(1);
        infe.Skip(3);
        if (entry->type != FourCc("infe") || version < 2) continue;  // older entries name no type
        const auto id = infe.Next(version == 2 ? 2 : 4);
        infe.Skip(2);  // the protection index
        const auto type = infe.Next(4);
        if (type == FourCc("grid") || type == FourCc("iovl")) {
            derived.emplace_back(id, type == FourCc("grid"));
        }
    }
    std::sort(derived.begin(), derived.end());
    const Bytes idat = FindBox(boxes, FourCc("idat")).value_or(Bytes{});
    Fields location(*iloc);
    const auto version = location.Next(1);
    location.Skip(3);
    const auto sizes = location.Next(2);  // of offsets, lengths, base offsets and indices, 4 bits each
    const std::uint64_t offsetSize = sizes >> 12, lengthSize = sizes >> 8 & 15, baseSize = sizes >> 4 & 15;
    const std::uint64_t indexSize = version > 0 ? sizes & 15 : 0;
    for (auto count = location.Next(version < 2 ? 2 : 4); count > 0 && !location.Failed(); --count) {
        const auto id = location.Next(version < 2 ? 2 : 4);
        const auto method = version > 0 ? location.Next(2) & 15 : 0;  // 0 in the file, 1 in idat
        location.Skip(2);  // the data reference index
        const auto base = location.Next(baseSize);
        const auto extents = location.Next(2);
        Fields extent(location.Rest());  // the first, where a grid's few bytes lie
        extent.Skip(indexSize);
        const auto offset = extent.Next(offsetSize), length = extent.Next(lengthSize);
        location.Skip(extents * (indexSize + offsetSize + lengthSize));
        const auto [first, last] = std::equal_range(derived.begin(), derived.end(), std::pair{id, false},
                                                    [](auto a, auto b) { return a.first < b.first; });
        for (auto item = first; item != last; ++item) {
            const Bytes from = method == 0 ? file : method == 1 ? idat : Bytes{};
            if (extents == 0 || offset > from.size() || base > from.size() - offset ||
                !StatedSizeAcceptable(from, base + offset, length, item->second)) {
                return false;
            }
        }
    }
    return !location.Failed();
}

// The primary image of a HEIC file, of acceptable size. The handle keeps what it needs of the
// context, and the context reads the file's bytes where they lie.
struct Primary {
    const HeifLibrary* heif = nullptr;
    Context context;
    Handle handle;
    int width = 0;  // upright, as decoded
    int height = 0;
};

std::optional<Primary> OpenPrimary(Bytes bytes, Kind kind) {
    const HeifLibrary* heif = LoadHeifLibrary();
    if (heif == nullptr || RecognizeKind(bytes) != kind || !DerivedSizesAcceptable(bytes)) {
        return std::nullopt;
    }
    Primary primary{heif, Context(heif->heif_context_alloc(), {heif}), Handle(nullptr, {heif})};
    if (!primary.context) return std::nullopt;
    heif->heif_context_set_maximum_image_size_limit(primary.context.get(), longestSide);
    if (!Ok(heif->heif_context_read_from_memory_without_copy(primary.context.get(), bytes.data(),
                                                             bytes.size(), nullptr))) {
        return std::nullopt;
    }
    heif_image_handle* handle = nullptr;
    const heif_error error = heif->heif_context_get_primary_image_handle(primary.context.get(), &handle);
    primary.handle.reset(handle);
    if (!Ok(error) || !primary.handle) return std::nullopt;
    primary.width = heif->heif_image_handle_get_width(handle);
    primary.height = heif->heif_image_handle_get_height(handle);
    if (!AcceptableSize(primary.width, primary.height)) return std::nullopt;
    return primary;
}

// libheif's RGB or RGBA rows into the image's BGR or BGRA rows; colours premultiplied by alpha
// are divided by it.
void CopyRows(const std::uint8_t* from, std::size_t stride, bool premultiplied, Image& image) {
    const auto width = static_cast<std::size_t>(image.width);
    for (int y = 0; y < image.height; ++y) {
        const std::uint8_t* rgb = from + y * stride;
        std::uint8_t* bgr = image.Row(y);
        if (image.format == PixelFormat::Bgr24) {
            for (std::size_t i = 0; i < 3 * width; i += 3) {
                bgr[i] = rgb[i + 2], bgr[i + 1] = rgb[i + 1], bgr[i + 2] = rgb[i];
            }
        } else if (!premultiplied) {
            for (std::size_t i = 0; i < 4 * width; i += 4) {
                bgr[i] = rgb[i + 2], bgr[i + 1] = rgb[i + 1], bgr[i + 2] = rgb[i], bgr[i + 3] = rgb[i + 3];
            }
        } else {
            for (std::size_t i = 0; i < 4 * width; i += 4) {
                const unsigned alpha = rgb[i + 3];
                const auto straight = [alpha](unsigned c) {
                    return alpha == 0 ? c : std::min(255u, (c * 255 + alpha / 2) / alpha);
                };
                bgr[i] = static_cast<std::uint8_t>(straight(rgb[i + 2]));
                bgr[i + 1] = static_cast<std::uint8_t>(straight(rgb[i + 1]));
                bgr[i + 2] = static_cast<std::uint8_t>(straight(rgb[i]));
                bgr[i + 3] = static_cast<std::uint8_t>(alpha);
            }
        }
    }
}

std::optional<Image> Decode(Bytes bytes, Kind kind) {
    const std::optional<Primary> primary = OpenPrimary(bytes, kind);
    if (!primary) return std::nullopt;
    const HeifLibrary& heif = *primary->heif;
    const bool alpha = heif.heif_image_handle_has_alpha_channel(primary->handle.get()) != 0;
    heif_image* decoded = nullptr;
    // No options: libheif's defaults apply the transformations.
    const heif_error error =
        heif.heif_decode_image(primary->handle.get(), &decoded, heif_colorspace_RGB,
                               alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, nullptr);
    const Decoded rgb(decoded, {&heif});
    if (!Ok(error) || !rgb) return std::nullopt;
    int stride = 0;
    const std::uint8_t* rows =
        heif.heif_image_get_plane_readonly(rgb.get(), heif_channel_interleaved, &stride);
    const int channels = alpha ? 4 : 3;
    // A file whose coded picture differs from the size its header gave is refused as lying.
    if (rows == nullptr || heif.heif_image_get_width(rgb.get(), heif_channel_interleaved) != primary->width ||
        heif.heif_image_get_height(rgb.get(), heif_channel_interleaved) != primary->height ||
        stride / channels < primary->width) {
        return std::nullopt;
    }
    auto image = AllocateImage(primary->width, primary->height,
                               alpha ? PixelFormat::Bgra32 : PixelFormat::Bgr24);
    if (!image) return std::nullopt;
    const bool premultiplied = alpha && heif.heif_image_is_premultiplied_alpha(rgb.get()) != 0;
    CopyRows(rows, static_cast<std::size_t>(stride), premultiplied, *image);
    return image;
}

std::optional<Image> DecodeKind(Bytes bytes, Kind kind) {
    try {  // libheif's own allocations may throw through its functions
        return Decode(bytes, kind);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

std::optional<PictureInfo> ReadKindInfo(Bytes bytes, Kind kind) {
    try {
        const std::optional<Primary> primary = OpenPrimary(bytes, kind);
        if (!primary) return std::nullopt;
        return UprightInfo(kind, primary->width, primary->height, {});
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

}  // namespace

std::optional<Image> DecodeHeif(Bytes bytes) { return DecodeKind(bytes, Kind::Heif); }
std::optional<Image> DecodeAvif(Bytes bytes) { return DecodeKind(bytes, Kind::Avif); }
std::optional<PictureInfo> ReadHeifInfo(Bytes bytes) { return ReadKindInfo(bytes, Kind::Heif); }
std::optional<PictureInfo> ReadAvifInfo(Bytes bytes) { return ReadKindInfo(bytes, Kind::Avif); }

}  // namespace picture
