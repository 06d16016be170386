// A TIFF header (byte order, 42, the first directory's offset), then the directory: a count of
// 12-byte entries (tag, type, count, and the value itself when it fits in 4 bytes, else its
// offset from the header). Only the first directory is read, so a damaged block's pointers
// cannot lead anywhere; every offset and count is checked against the block before use.
#include "picture/exif.h"

#include <cstdint>
#include <cstring>

namespace picture {
namespace {

constexpr std::uint8_t exifPrefix[] = {'E', 'x', 'i', 'f', 0, 0};
constexpr std::size_t tiffHeaderSize = 8;
constexpr std::size_t entrySize = 12;
constexpr std::size_t inlineValueSize = 4;

constexpr std::uint32_t tagOrientation = 0x0112;
constexpr std::uint32_t tagXResolution = 0x011A;
constexpr std::uint32_t tagYResolution = 0x011B;
constexpr std::uint32_t tagResolutionUnit = 0x0128;

constexpr std::uint32_t typeShort = 3;
constexpr std::uint32_t typeLong = 4;
constexpr std::uint32_t typeRational = 5;

constexpr std::uint32_t unitInch = 2;
constexpr std::uint32_t unitCentimetre = 3;
constexpr double centimetresPerInch = 2.54;

class Tiff {
public:
    explicit Tiff(Bytes bytes) : bytes_(bytes) {}

    // False when the header is not a TIFF header.
    bool ReadHeader() {
        if (bytes_.size() < tiffHeaderSize) return false;
        if (bytes_[0] == 'I' && bytes_[1] == 'I') {
            bigEndian_ = false;
        } else if (bytes_[0] == 'M' && bytes_[1] == 'M') {
            bigEndian_ = true;
        } else {
            return false;
        }
        return U16(2) == 42;
    }

    // Both read only where the caller checked the bytes are.
    std::uint32_t U16(std::size_t at) const {
        return bigEndian_ ? (bytes_[at] << 8) | bytes_[at + 1] : bytes_[at] | (bytes_[at + 1] << 8);
    }
    std::uint32_t U32(std::size_t at) const {
        return bigEndian_ ? (U16(at) << 16) | U16(at + 2) : U16(at) | (U16(at + 2) << 16);
    }

    bool Holds(std::uint64_t at, std::uint64_t size) const {
        return at <= bytes_.size() && size <= bytes_.size() - at;
    }
    std::size_t size() const { return bytes_.size(); }

private:
    Bytes bytes_;
    bool bigEndian_ = false;
};

std::uint64_t TypeSize(std::uint32_t type) {
    switch (type) {
    case typeShort: return 2;
    case typeLong: return 4;
    case typeRational: return 8;
    }
    return 0;  // not a type read here
}

// The first value of an entry as a whole number, or as a fraction (numerator / denominator for a
// RATIONAL); false when the entry's values do not lie inside the block.
bool FirstValue(const Tiff& tiff, std::size_t entry, double& value) {
    const std::uint32_t type = tiff.U16(entry + 2);
    const std::uint64_t count = tiff.U32(entry + 4);
    const std::uint64_t typeSize = TypeSize(type);
    if (typeSize == 0 || count == 0) return false;
    const std::uint64_t size = count * typeSize;  // at most 2^32 × 8: no overflow
    std::uint64_t at = entry + 8;
    if (size > inlineValueSize) {
        at = tiff.U32(entry + 8);
        if (!tiff.Holds(at, size)) return false;
    }
    const auto place = static_cast<std::size_t>(at);
    switch (type) {
    case typeShort: value = tiff.U16(place); return true;
    case typeLong: value = tiff.U32(place); return true;
    case typeRational: {
        const std::uint32_t denominator = tiff.U32(place + 4);
        if (denominator == 0) return false;
        value = static_cast<double>(tiff.U32(place)) / denominator;
        return true;
    }
    }
    return false;
}

}  // namespace

ExifFacts ReadExif(Bytes block) {
    if (block.size() >= sizeof exifPrefix &&
        std::memcmp(block.data(), exifPrefix, sizeof exifPrefix) == 0) {
        block = block.subspan(sizeof exifPrefix);
    }
    ExifFacts facts;
    Tiff tiff(block);
    if (!tiff.ReadHeader()) return facts;
    const std::uint64_t directory = tiff.U32(4);
    if (directory < tiffHeaderSize || !tiff.Holds(directory, 2)) return facts;
    const std::uint64_t claimed = tiff.U16(static_cast<std::size_t>(directory));
    // The entries that lie inside the block; a count beyond them is damage, and ignored.
    const std::uint64_t present = (tiff.size() - directory - 2) / entrySize;
    const std::uint64_t entries = claimed < present ? claimed : present;

    double xResolution = 0, yResolution = 0, unit = unitInch;
    for (std::uint64_t i = 0; i < entries; ++i) {
        const auto entry = static_cast<std::size_t>(directory + 2 + i * entrySize);
        double value = 0;
        switch (tiff.U16(entry)) {
        case tagOrientation:
            if (FirstValue(tiff, entry, value) && value >= 1 && value <= 8) {
                facts.orientation = static_cast<int>(value);
            }
            break;
        case tagXResolution:
            if (FirstValue(tiff, entry, value)) xResolution = value;
            break;
        case tagYResolution:
            if (FirstValue(tiff, entry, value)) yResolution = value;
            break;
        case tagResolutionUnit:
            if (FirstValue(tiff, entry, value)) unit = value;
            break;
        }
    }
    const double perInch = unit == unitInch ? 1 : unit == unitCentimetre ? centimetresPerInch : 0;
    facts.dpiX = SensibleDpi(xResolution * perInch);
    facts.dpiY = SensibleDpi(yResolution * perInch);
    return facts;
}

PictureInfo UprightInfo(Kind kind, int width, int height, const ExifFacts& facts) {
    const bool sideways = SwapsSides(facts.orientation);
    PictureInfo info;
    info.kind = kind;
    info.width = sideways ? height : width;
    info.height = sideways ? width : height;
    info.dpiX = sideways ? facts.dpiY : facts.dpiX;
    info.dpiY = sideways ? facts.dpiX : facts.dpiY;
    return info;
}

}  // namespace picture
