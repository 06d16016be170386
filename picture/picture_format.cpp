#include "picture/picture_data.h"

#include <algorithm>
#include <cstring>

namespace picture {
namespace {

// An ISO base media file starts with its ftyp box: the box's size, "ftyp", the major brand, a
// minor version, then compatible brands to the box's end. The major brand decides; a file whose
// major brand is a generic one (mif1, msf1, …) is what its compatible brands name, AV1 first, as
// HEIF readers take it. At most this many compatible brands are looked at.
constexpr std::size_t largestBrandCount = 64;

std::size_t Be32(Bytes b, std::size_t at) {
    return std::size_t{b[at]} << 24 | std::size_t{b[at + 1]} << 16 | std::size_t{b[at + 2]} << 8 | b[at + 3];
}

Kind KindOfBrand(const std::uint8_t* brand) {
    const auto is = [&](const char* name) { return std::memcmp(brand, name, 4) == 0; };
    if (is("avif") || is("avis")) return Kind::Avif;
    if (is("heic") || is("heix") || is("heim") || is("heis") || is("hevc") || is("hevx") ||
        is("hevm") || is("hevs")) {
        return Kind::Heif;
    }
    return Kind::None;
}

Kind KindOfFtyp(Bytes bytes) {
    if (bytes.size() < 12 || std::memcmp(bytes.data() + 4, "ftyp", 4) != 0) return Kind::None;
    const Kind major = KindOfBrand(bytes.data() + 8);
    if (major != Kind::None) return major;
    const std::size_t boxSize = Be32(bytes, 0);
    if (boxSize < 16 || boxSize > bytes.size()) return Kind::None;
    const std::size_t end = std::min(boxSize, 16 + 4 * largestBrandCount);
    bool heif = false;
    for (std::size_t at = 16; at + 4 <= end; at += 4) {
        const Kind kind = KindOfBrand(bytes.data() + at);
        if (kind == Kind::Avif) return kind;
        heif = heif || kind == Kind::Heif;
    }
    return heif ? Kind::Heif : Kind::None;
}

}  // namespace

Kind RecognizeKind(Bytes bytes) {
    if (bytes.size() < 8) return Kind::None;
    const auto b = [&](std::size_t i) { return bytes[i]; };
    if (b(0) == 0x42 && b(1) == 0x4D) return Kind::Bmp;
    if (b(0) == 0xFF && b(1) == 0xD8) return Kind::Jpeg;
    if (b(0) == 0x89 && b(1) == 0x50 && b(2) == 0x4E && b(3) == 0x47) return Kind::Png;

    // Icons and cursors differ only in the type word; an empty directory is not a picture.
    const unsigned imageCount = b(4) | (b(5) << 8);
    if (b(0) == 0 && b(1) == 0 && b(3) == 0 && imageCount > 0) {
        if (b(2) == 1) return Kind::Icon;
        if (b(2) == 2) return Kind::Cursor;
    }
    if (b(0) == 'G' && b(1) == 'I' && b(2) == 'F' && b(3) == '8' && (b(4) == '7' || b(4) == '9') &&
        b(5) == 'a') {
        return Kind::Gif;
    }
    // PCX: manufacturer 0x0A, version, encoding 1 (run lengths), bits per pixel.
    if (b(0) == 0x0A && b(2) == 1) {
        if (b(1) <= 5 && b(3) == 8) return Kind::Pcx8;
        if (b(1) == 3 && b(3) == 1) return Kind::Pcx1;
    }
    // WebP: a RIFF file of form type WEBP.
    if (bytes.size() >= 12 && b(0) == 'R' && b(1) == 'I' && b(2) == 'F' && b(3) == 'F' &&
        b(8) == 'W' && b(9) == 'E' && b(10) == 'B' && b(11) == 'P') {
        return Kind::Webp;
    }
    // TIFF: the byte order, then 42 (classic) or 43 (BigTIFF) in that order.
    if ((b(0) == 'I' && b(1) == 'I' && (b(2) == 42 || b(2) == 43) && b(3) == 0) ||
        (b(0) == 'M' && b(1) == 'M' && b(2) == 0 && (b(3) == 42 || b(3) == 43))) {
        return Kind::Tiff;
    }
    return KindOfFtyp(bytes);
}

}  // namespace picture
