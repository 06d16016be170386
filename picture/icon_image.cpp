// Picks the image of an icon or cursor file that the program shows, and reads its size from the
// image's own header, which is what Windows goes by (the directory's bytes are often wrong).
#include "picture/decoders.h"

namespace picture {
namespace {

constexpr std::size_t fileHeaderSize = 6;
constexpr std::size_t entrySize = 16;
constexpr std::size_t infoHeaderSize = 40;
constexpr std::size_t pngStartSize = 24;  // signature, IHDR length and type, width, height

std::uint32_t Be32(Bytes b, std::size_t at) {
    return (static_cast<std::uint32_t>(b[at]) << 24) | (b[at + 1] << 16) | (b[at + 2] << 8) |
           b[at + 3];
}

}  // namespace

std::optional<IconImage> SelectIconImage(Bytes bytes) {
    if (bytes.size() < fileHeaderSize) return std::nullopt;
    const std::uint32_t type = Le16(bytes, 2);
    const std::size_t count = Le16(bytes, 4);
    if (Le16(bytes, 0) != 0 || (type != 1 && type != 2) || count == 0) return std::nullopt;
    if ((bytes.size() - fileHeaderSize) / entrySize < count) return std::nullopt;

    std::size_t chosen = count - 1;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = fileHeaderSize + i * entrySize;
        if (bytes[entry] == 32 && bytes[entry + 2] > 15) {
            chosen = i;
            break;
        }
    }
    const std::size_t entry = fileHeaderSize + chosen * entrySize;
    IconImage icon;
    icon.size = Le32(bytes, entry + 8);
    icon.offset = Le32(bytes, entry + 12);
    if (icon.offset > bytes.size() || bytes.size() - icon.offset < icon.size) return std::nullopt;
    const Bytes image = bytes.subspan(icon.offset, icon.size);

    std::int64_t width = 0;
    std::int64_t height = 0;
    if (image.size() >= 4 && image[0] == 0x89 && image[1] == 'P' && image[2] == 'N' &&
        image[3] == 'G') {
        if (image.size() < pngStartSize || Be32(image, 12) != 0x49484452) return std::nullopt;
        width = Be32(image, 16);
        height = Be32(image, 20);
        icon.bitCount = 32;
    } else {
        if (image.size() < infoHeaderSize || Le32(image, 0) < infoHeaderSize) return std::nullopt;
        width = static_cast<std::int32_t>(Le32(image, 4));
        height = static_cast<std::int32_t>(Le32(image, 8)) / 2;  // the mask's rows are counted too
        icon.bitCount = static_cast<int>(Le16(image, 14));
        const int b = icon.bitCount;
        if (b != 1 && b != 4 && b != 8 && b != 16 && b != 24 && b != 32) return std::nullopt;
    }
    if (!AcceptableSize(width, height)) return std::nullopt;
    icon.width = static_cast<int>(width);
    icon.height = static_cast<int>(height);
    return icon;
}

}  // namespace picture
