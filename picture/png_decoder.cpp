// PNG through libpng's simplified interface, which handles every colour type, bit depth,
// palette transparency and interlacing, and hands over blue, green, red and alpha bytes in
// sRGB: a file with a gAMA chunk far from sRGB's is converted to it, and 16-bit samples without
// one are taken as linear light and converted as well. Errors never leave libpng by longjmp
// into this code: the simplified interface catches them itself and reports failure.
#include <cstddef>
#include <new>

#include <png.h>

#include "picture/decoders.h"

namespace picture {
namespace {

// The signature alone takes 8 bytes.
constexpr std::size_t signatureSize = 8;

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
    if (bytes.size() < signatureSize) return std::nullopt;

    PngReader reader;
    png_image& png = reader.Get();
    if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size())) return std::nullopt;
    if (!AcceptableSize(png.width, png.height)) return std::nullopt;

    png.format = PNG_FORMAT_BGRA;
    std::optional<Image> image;
    try {
        image = AllocateImage(png.width, png.height, PixelFormat::Bgra32);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    if (!image || image->pixels.size() < PNG_IMAGE_SIZE(png)) return std::nullopt;

    // No background: alpha is kept. Row stride 0 means width × 4, which is Image::Stride().
    if (!png_image_finish_read(&png, nullptr, image->pixels.data(), 0, nullptr)) {
        return std::nullopt;
    }
    return image;
}

}  // namespace picture
