// PNG through libpng's simplified interface, which handles every colour type, bit depth,
// palette transparency and interlacing, and hands over blue, green, red and alpha bytes in
// sRGB: a file with a gAMA chunk far from sRGB's is converted to it, and 16-bit samples without
// one are taken as linear light and converted as well. Errors never leave libpng by longjmp
// into this code: the simplified interface catches them itself and reports failure.
//
// Before the image data libpng reads each chunk whole, into memory of the length the chunk
// claims (it only warns about one longer than its limits), and keeps the text of every text
// chunk, inflated. So the chunks up to the image data are checked here first: each must lie
// inside the bytes, and the compressed ones may not inflate to more than a small amount in all.
//
// A file that ends inside its image data (a download cut short) is incomplete. libpng reads a
// chunk's data in large pieces, and would stop at the first piece that is not all there: so the
// file is closed where it was cut and read again, giving every row the data holds; the rest
// stays transparent. Image data that stops short in a file that goes on is damage, and refused.
//
// The orientation (an eXIf chunk) and the resolution (a pHYs chunk, else the eXIf chunk) are
// found by walking the chunks here, as far as they lie inside the bytes.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include <png.h>
#include <zlib.h>

#include "picture/decoders.h"
#include "picture/exif.h"
#include "picture/turn_and_crop.h"

namespace picture {
namespace {

// The signature alone takes 8 bytes.
constexpr std::size_t signatureSize = 8;
constexpr std::size_t chunkHeaderSize = 8;  // the data's length, then the chunk's type
constexpr std::size_t chunkCrcSize = 4;
// What the compressed chunks before the image data (text and colour profile) may inflate to in
// all: libpng's own limit for one chunk.
constexpr std::uint64_t mostInflatedMetadata = 8'000'000;
constexpr std::size_t inflateStepSize = 16 * 1024;
constexpr std::size_t physSize = 9;  // pixels per unit across and down, then the unit
constexpr std::uint8_t physPerMetre = 1;

std::uint32_t Be32(Bytes b, std::size_t at) {
    return (static_cast<std::uint32_t>(b[at]) << 24) | (static_cast<std::uint32_t>(b[at + 1]) << 16) |
           (static_cast<std::uint32_t>(b[at + 2]) << 8) | b[at + 3];
}

bool IsType(Bytes chunk, const char* type) { return std::memcmp(chunk.data() + 4, type, 4) == 0; }

// What is left of `data` after `count` zero-terminated strings; empty when they do not end.
Bytes AfterStrings(Bytes data, int count) {
    for (int i = 0; i < count; ++i) {
        const auto end = std::find(data.begin(), data.end(), 0);
        if (end == data.end()) return {};
        data = data.subspan(static_cast<std::size_t>(end - data.begin()) + 1);
    }
    return data;
}

// The compressed part of a zTXt, iCCP or compressed iTXt chunk's data; empty for other chunks.
Bytes CompressedPart(Bytes chunk, Bytes data) {
    if (IsType(chunk, "zTXt") || IsType(chunk, "iCCP")) {
        data = AfterStrings(data, 1);  // the keyword or profile name, then the method
        return data.empty() ? data : data.subspan(1);
    }
    if (IsType(chunk, "iTXt")) {
        data = AfterStrings(data, 1);  // the keyword, then the flag, the method, two strings
        if (data.size() < 2 || data[0] == 0) return {};
        return AfterStrings(data.subspan(2), 2);
    }
    return {};
}

// How much zlib data inflates to, counted only until it passes `limit`.
std::uint64_t InflatedSize(Bytes compressed, std::uint64_t limit) {
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) return limit + 1;
    std::array<Bytef, inflateStepSize> out;
    stream.next_in = const_cast<Bytef*>(compressed.data());
    stream.avail_in = static_cast<uInt>(compressed.size());  // a chunk is under 2 GB
    std::uint64_t size = 0;
    int result = Z_OK;
    while (result == Z_OK && size <= limit) {
        stream.next_out = out.data();
        stream.avail_out = static_cast<uInt>(out.size());
        result = inflate(&stream, Z_NO_FLUSH);
        size += out.size() - stream.avail_out;
    }
    inflateEnd(&stream);
    return size;
}

// True when every chunk before the first image data chunk lies inside the bytes and the
// compressed ones together stay within mostInflatedMetadata. Image data is read in small pieces.
bool MetadataFits(Bytes bytes) {
    std::uint64_t inflated = 0;
    for (std::size_t at = signatureSize; bytes.size() - at >= chunkHeaderSize;) {
        const Bytes chunk = bytes.subspan(at);
        if (IsType(chunk, "IDAT")) return true;
        const std::size_t length = Be32(chunk, 0);
        if (chunk.size() - chunkHeaderSize < length ||
            chunk.size() - chunkHeaderSize - length < chunkCrcSize) {
            return false;
        }
        const Bytes compressed = CompressedPart(chunk, chunk.subspan(chunkHeaderSize, length));
        if (!compressed.empty()) {
            inflated += InflatedSize(compressed, mostInflatedMetadata - inflated);
            if (inflated > mostInflatedMetadata) return false;
        }
        at += chunkHeaderSize + length + chunkCrcSize;
    }
    return false;  // no image data
}

// The orientation from the first eXIf chunk, and the resolution from the pHYs chunk when it is
// per metre, else from the eXIf chunk; chunks are read up to the end chunk or the first one that
// does not lie inside the bytes.
ExifFacts ReadFacts(Bytes bytes) {
    ExifFacts facts;
    bool exifSeen = false;
    double dpiX = 0, dpiY = 0;
    bool physSeen = false;
    for (std::size_t at = signatureSize; bytes.size() - at >= chunkHeaderSize + chunkCrcSize;) {
        const Bytes chunk = bytes.subspan(at);
        const std::size_t length = Be32(chunk, 0);
        if (length > chunk.size() - chunkHeaderSize - chunkCrcSize || IsType(chunk, "IEND")) break;
        const Bytes data = chunk.subspan(chunkHeaderSize, length);
        if (IsType(chunk, "eXIf") && !exifSeen) {
            facts = ReadExif(data);
            exifSeen = true;
        } else if (IsType(chunk, "pHYs") && !physSeen && length == physSize) {
            physSeen = true;
            if (data[8] == physPerMetre) {
                dpiX = DpiFromPerMetre(Be32(data, 0));
                dpiY = DpiFromPerMetre(Be32(data, 4));
            }
        }
        at += chunkHeaderSize + length + chunkCrcSize;
    }
    if (physSeen) {
        facts.dpiX = dpiX;
        facts.dpiY = dpiY;
    }
    return facts;
}

// Sets the resolution and turns the image upright.
void ApplyFacts(Image& image, const ExifFacts& facts) {
    image.dpiX = facts.dpiX;
    image.dpiY = facts.dpiY;
    TurnUpright(image, facts.orientation);
}

// libpng's error for a file that ends while it is being read.
bool FileEndedEarly(const png_image& png) {
    return std::strcmp(png.message, "read beyond end of data") == 0;
}

void PutChunk(std::vector<std::uint8_t>& out, const char* type, Bytes data) {
    const auto length = static_cast<std::uint32_t>(data.size());
    for (const int shift : {24, 16, 8, 0}) out.push_back(static_cast<std::uint8_t>(length >> shift));
    const std::size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const uLong crc = crc32(crc32(0, nullptr, 0), out.data() + typeAt, static_cast<uInt>(4 + data.size()));
    for (const int shift : {24, 16, 8, 0}) out.push_back(static_cast<std::uint8_t>(crc >> shift));
}

// The whole chunks of a file cut short, the image data chunk it was cut in shortened to what is
// there, then the end chunk.
std::vector<std::uint8_t> ClosedWhereCut(Bytes bytes) {
    std::size_t at = signatureSize;
    while (bytes.size() - at >= chunkHeaderSize + chunkCrcSize &&
           Be32(bytes, at) <= bytes.size() - at - chunkHeaderSize - chunkCrcSize) {
        at += chunkHeaderSize + Be32(bytes, at) + chunkCrcSize;
    }
    std::vector<std::uint8_t> closed(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
    if (bytes.size() - at > chunkHeaderSize && IsType(bytes.subspan(at), "IDAT")) {
        PutChunk(closed, "IDAT", bytes.subspan(at + chunkHeaderSize));
    }
    PutChunk(closed, "IEND", {});
    return closed;
}

// Reads the image into image's pixels; false with libpng's message in png when it fails.
bool ReadInto(png_image& png, Image& image) {
    png.format = PNG_FORMAT_BGRA;
    if (image.pixels.size() < PNG_IMAGE_SIZE(png)) return false;
    // No background: alpha is kept. Row stride 0 means width × 4, which is Image::Stride().
    return png_image_finish_read(&png, nullptr, image.pixels.data(), 0, nullptr) != 0;
}

// png_image_free may be called any number of times; finish_read and failures call it too.
class PngReader {
public:
    PngReader() {
        image_.version = PNG_IMAGE_VERSION;
        image_.opaque = nullptr;
    }
    ~PngReader() { png_image_free(&image_); }
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;

    png_image& Get() { return image_; }

private:
    png_image image_{};
};

}  // namespace

std::optional<Image> DecodePng(Bytes bytes) {
    if (bytes.size() < signatureSize || !MetadataFits(bytes)) return std::nullopt;

    PngReader reader;
    png_image& png = reader.Get();
    if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size())) return std::nullopt;
    if (!AcceptableSize(png.width, png.height)) return std::nullopt;

    std::optional<Image> image = AllocateImage(png.width, png.height, PixelFormat::Bgra32);
    if (!image) return std::nullopt;
    if (ReadInto(png, *image)) {
        ApplyFacts(*image, ReadFacts(bytes));
        return image;
    }
    if (!FileEndedEarly(png)) return std::nullopt;

    // Whatever this reading ends with, the rows it read are the picture.
    const std::vector<std::uint8_t> closed = ClosedWhereCut(bytes);
    PngReader again;
    if (png_image_begin_read_from_memory(&again.Get(), closed.data(), closed.size())) {
        ReadInto(again.Get(), *image);
    }
    image->complete = false;
    ApplyFacts(*image, ReadFacts(bytes));
    return image;
}

std::optional<PictureInfo> ReadPngInfo(Bytes bytes) {
    if (bytes.size() < signatureSize || !MetadataFits(bytes)) return std::nullopt;
    PngReader reader;
    png_image& png = reader.Get();
    if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size())) return std::nullopt;
    if (!AcceptableSize(png.width, png.height)) return std::nullopt;
    return UprightInfo(Kind::Png, static_cast<int>(png.width), static_cast<int>(png.height),
                       ReadFacts(bytes));
}

}  // namespace picture
