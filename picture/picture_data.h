// Pictures as the decoders hand them over: the kind recognised from the file's bytes and the
// decoded pixels, laid out so that they can be given to Windows as a top-down DIB unchanged.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace picture {

using Bytes = std::span<const std::uint8_t>;

// Little-endian fields of a file image, at offsets the caller has checked.
inline std::uint32_t Le16(Bytes b, std::size_t at) { return b[at] | (b[at + 1] << 8); }
inline std::uint32_t Le32(Bytes b, std::size_t at) { return Le16(b, at) | (Le16(b, at + 2) << 16); }

// The fields of a BITMAPINFOHEADER that the bitmap readers use; the caller has checked that its
// 40 bytes lie inside the file image.
struct BitmapInfoHeader {
    std::uint64_t size = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;  // negative for a top-down bitmap
    int bitCount = 0;
    std::uint32_t compression = 0;
    std::uint64_t coloursUsed = 0;
};

inline BitmapInfoHeader ReadBitmapInfoHeader(Bytes b, std::size_t at) {
    return {Le32(b, at),
            static_cast<std::int32_t>(Le32(b, at + 4)),
            static_cast<std::int32_t>(Le32(b, at + 8)),
            static_cast<int>(Le16(b, at + 14)),
            Le32(b, at + 16),
            Le32(b, at + 32)};
}

// The kinds of picture file the program knows, by their content.
enum class Kind : int {
    None = 0,
    Jpeg = 1,
    Bmp = 2,
    Icon = 3,
    Cursor = 4,
    Gif = 5,
    Pcx8 = 6,  // 8 bits per pixel with a palette
    Pcx1 = 7,  // 1 bit per pixel
    Png = 8,
    Webp = 9,
    Tiff = 10,  // classic or BigTIFF, either byte order; a file of one or more pages
    Heif = 11,  // HEIF of HEVC pictures (HEIC), by the brands of its ftyp box
    Avif = 12,  // HEIF of AV1 pictures, by the brands of its ftyp box
};

// Looks at the first 8 bytes (12 for WebP, the ftyp box for HEIF and AVIF); fewer than 8 bytes are
// never a picture.
Kind RecognizeKind(Bytes bytes);

enum class PixelFormat {
    Bgr24,    // blue, green, red: JPEG, BMP and TIFF
    Bgra32,   // blue, green, red, alpha (not premultiplied): PNG, WebP and TIFF with alpha
    Indexed8, // palette indices: GIF and 8-bit PCX
    Mono1,    // one bit per pixel, most significant bit leftmost, with a 2-entry palette: 1-bit PCX
              // and bilevel TIFF pages
};

// Decoded pixels. Rows are stored top row first, each row padded to a multiple of 4 bytes.
struct Image {
    int width = 0;
    int height = 0;
    PixelFormat format = PixelFormat::Bgr24;
    std::vector<std::uint8_t> pixels;  // height × Stride() bytes
    // Palette formats: entries as blue, green, red, 0 (a Windows RGBQUAD), unused entries black.
    std::array<std::uint32_t, 256> palette{};
    int paletteSize = 0;
    int transparentIndex = -1;  // GIF only; -1 when there is none
    // False when the file's data ends early (a download cut short): the pixels hold what the
    // data gave, and the rest is filler.
    bool complete = true;
    // Pixels per inch across and down as the file records them; 0 when it records none.
    double dpiX = 0;
    double dpiY = 0;

    std::size_t Stride() const { return StrideFor(format, width); }
    static std::size_t StrideFor(PixelFormat format, int width);
    std::uint8_t* Row(int y) { return pixels.data() + static_cast<std::size_t>(y) * Stride(); }
    const std::uint8_t* Row(int y) const {
        return pixels.data() + static_cast<std::size_t>(y) * Stride();
    }
};

// A resolution as a file states it, in pixels per inch: itself when it is one a picture can
// have, else 0 (none, zero, negative, not a number, or above 100000).
double SensibleDpi(double pixelsPerInch);
// Pixels per metre (PNG, BMP) as pixels per inch, through SensibleDpi.
double DpiFromPerMetre(double pixelsPerMetre);

// What a picture file's bytes come to: a whole picture, one whose data ends early (shown as far
// as it goes), or none the program can show.
enum class PictureState { Whole, Incomplete, Undecodable };

// Refuses sizes whose pixels could not be held by a 32-bit program, before anything is
// allocated: both sides from 1 to 65535 and at most this many pixels.
inline constexpr std::uint64_t largestPixelCount = 64ull * 1024 * 1024;
bool AcceptableSize(std::int64_t width, std::int64_t height);

// An image of the given size with its pixel buffer allocated and zeroed; nullopt when the size
// is not acceptable or the memory is not there.
std::optional<Image> AllocateImage(std::int64_t width, std::int64_t height, PixelFormat format);

}  // namespace picture
