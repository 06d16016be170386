#include "picture/transpose.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace picture {
namespace {

// The block worked on at a time: a few source rows across many columns, so that each
// destination row gets one cache line's worth of pixels and few pages are read at once.
// Measured on 6000 × 4000 pictures this runs about twice as fast as square 64 × 64 blocks.
constexpr int cacheLineBytes = 64;
constexpr int blockColumns = 256;

constexpr int bitsPerByte = 8;
constexpr std::size_t bgrBytes = 3;
constexpr std::size_t bgraBytes = 4;
constexpr std::size_t indexBytes = 1;

// Where row i of an 8 × 8 bit block sits in a 64-bit word: row 0 in the top byte.
int RowShift(int i) { return bitsPerByte * (bitsPerByte - 1 - i); }

// Whole pixels of bytesPerPixel bytes, one block at a time. Blocks are taken down a band of
// source columns so that the destination rows of the band are filled left to right.
template <std::size_t bytesPerPixel>
void TransposeWholePixels(const Image& from, Image& to) {
    constexpr int blockRows = cacheLineBytes / static_cast<int>(bytesPerPixel);
    const std::size_t fromStride = from.Stride();
    const std::uint8_t* fromPixels = from.pixels.data();
    for (int x0 = 0; x0 < from.width; x0 += blockColumns) {
        const int xEnd = std::min(x0 + blockColumns, from.width);
        for (int y0 = 0; y0 < from.height; y0 += blockRows) {
            const int yEnd = std::min(y0 + blockRows, from.height);
            for (int x = x0; x < xEnd; ++x) {
                const std::uint8_t* in = fromPixels + static_cast<std::size_t>(y0) * fromStride +
                                         static_cast<std::size_t>(x) * bytesPerPixel;
                std::uint8_t* out = to.Row(x) + static_cast<std::size_t>(y0) * bytesPerPixel;
                for (int y = y0; y < yEnd; ++y) {
                    std::memcpy(out, in, bytesPerPixel);  // a fixed size: one or two moves
                    in += fromStride;
                    out += bytesPerPixel;
                }
            }
        }
    }
}

// An 8 × 8 block of bits turned over its diagonal; row 0 is the top byte, column 0 each
// byte's most significant bit. Three exchanges of ever larger sub-blocks across the diagonal:
// single bits, then 2 × 2 and 4 × 4 blocks, each with its mirror image a multiple of 7 places
// away (one row down is 8 places, one column left 1 place back).
std::uint64_t TransposeBitBlock(std::uint64_t rows) {
    constexpr int diagonalStep = bitsPerByte - 1;
    constexpr std::uint64_t singleBits = 0x00AA00AA00AA00AAull;
    constexpr std::uint64_t bitPairs = 0x0000CCCC0000CCCCull;
    constexpr std::uint64_t nibbles = 0x00000000F0F0F0F0ull;
    constexpr struct {
        int distance;
        std::uint64_t mask;
    } exchanges[] = {{diagonalStep, singleBits}, {2 * diagonalStep, bitPairs}, {4 * diagonalStep, nibbles}};
    for (const auto& exchange : exchanges) {
        const std::uint64_t swapped = (rows ^ (rows >> exchange.distance)) & exchange.mask;
        rows ^= swapped ^ (swapped << exchange.distance);
    }
    return rows;
}

// One bit per pixel, 8 × 8 pixels at a time. Rows past the bottom of the source read as 0, so
// the padding bits of the result stay clear; source padding bits would land on rows past the
// bottom of the result and are not written.
void TransposeBits(const Image& from, Image& to) {
    const int fromBytesPerRow = (from.width + bitsPerByte - 1) / bitsPerByte;
    const int toBytesPerRow = (to.width + bitsPerByte - 1) / bitsPerByte;
    for (int column = 0; column < fromBytesPerRow; ++column) {
        const int firstX = column * bitsPerByte;
        const int xCount = std::min(bitsPerByte, from.width - firstX);
        for (int block = 0; block < toBytesPerRow; ++block) {
            const int firstY = block * bitsPerByte;
            const int yCount = std::min(bitsPerByte, from.height - firstY);
            std::uint64_t rows = 0;
            for (int i = 0; i < yCount; ++i) {
                rows |= std::uint64_t{from.Row(firstY + i)[column]} << RowShift(i);
            }
            rows = TransposeBitBlock(rows);
            for (int i = 0; i < xCount; ++i) {
                to.Row(firstX + i)[block] = static_cast<std::uint8_t>(rows >> RowShift(i));
            }
        }
    }
}

}  // namespace

std::optional<Image> TransposeImage(const Image& image) {
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() < image.Stride() * static_cast<std::size_t>(image.height)) {
        return std::nullopt;
    }
    std::optional<Image> turned = AllocateImage(image.height, image.width, image.format);
    if (!turned) return std::nullopt;
    turned->palette = image.palette;
    turned->paletteSize = image.paletteSize;
    turned->transparentIndex = image.transparentIndex;
    turned->complete = image.complete;
    turned->dpiX = image.dpiY;
    turned->dpiY = image.dpiX;
    switch (image.format) {
    case PixelFormat::Bgr24: TransposeWholePixels<bgrBytes>(image, *turned); break;
    case PixelFormat::Bgra32: TransposeWholePixels<bgraBytes>(image, *turned); break;
    case PixelFormat::Indexed8: TransposeWholePixels<indexBytes>(image, *turned); break;
    case PixelFormat::Mono1: TransposeBits(image, *turned); break;
    default: return std::nullopt;
    }
    return turned;
}

}  // namespace picture
