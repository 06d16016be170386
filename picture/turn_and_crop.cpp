#include "picture/turn_and_crop.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <utility>

#include "picture/transpose.h"

namespace picture {
namespace {

constexpr int quartersInATurn = 4;
constexpr int bitsPerByte = 8;

void FlipRows(Image& image) {
    for (int top = 0, bottom = image.height - 1; top < bottom; ++top, --bottom) {
        std::swap_ranges(image.Row(top), image.Row(top) + image.Stride(), image.Row(bottom));
    }
}

int BytesPerPixel(PixelFormat format) {
    switch (format) {
    case PixelFormat::Bgr24: return 3;
    case PixelFormat::Bgra32: return 4;
    case PixelFormat::Indexed8: return 1;
    case PixelFormat::Mono1: return 0;
    }
    return 0;
}

// Each row's pixels in the opposite order; padding stays where it is.
void MirrorColumns(Image& image) {
    const int bytes = BytesPerPixel(image.format);
    for (int y = 0; y < image.height; ++y) {
        std::uint8_t* row = image.Row(y);
        for (int left = 0, right = image.width - 1; left < right; ++left, --right) {
            if (bytes > 0) {
                std::swap_ranges(row + static_cast<std::size_t>(left) * bytes,
                                 row + static_cast<std::size_t>(left + 1) * bytes,
                                 row + static_cast<std::size_t>(right) * bytes);
                continue;
            }
            const auto mask = [](int x) { return static_cast<std::uint8_t>(0x80 >> (x % bitsPerByte)); };
            std::uint8_t& a = row[left / bitsPerByte];
            std::uint8_t& b = row[right / bitsPerByte];
            const bool aSet = (a & mask(left)) != 0;
            const bool bSet = (b & mask(right)) != 0;
            if (aSet == bSet) continue;
            a ^= mask(left);
            b ^= mask(right);
        }
    }
}

}  // namespace

// A clockwise quarter turn is the rows upside down, then turned over the diagonal.
std::optional<Image> TurnQuarters(const Image& image, int quarterTurns) {
    const int turns = ((quarterTurns % quartersInATurn) + quartersInATurn) % quartersInATurn;
    Image turned;
    try {
        turned = image;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    for (int turn = 0; turn < turns; ++turn) {
        FlipRows(turned);
        std::optional<Image> next = TransposeImage(turned);
        if (!next) return std::nullopt;
        turned = std::move(*next);
    }
    return turned;
}

// Mirrored over the main diagonal first (the only step that takes memory, so that a failure
// leaves the image untouched), then mirrored across and down as the orientation still needs.
bool TurnUpright(Image& image, int orientation) {
    if (orientation < 2 || orientation > 8) return true;
    if (orientation >= 5) {
        std::optional<Image> transposed = TransposeImage(image);
        if (!transposed) return false;
        image = std::move(*transposed);
    }
    // After the transpose 5 is done, 6 wants a mirror across, 7 both mirrors, 8 one down.
    const bool across = orientation == 2 || orientation == 3 || orientation == 6 || orientation == 7;
    const bool down = orientation == 3 || orientation == 4 || orientation == 7 || orientation == 8;
    if (across) MirrorColumns(image);
    if (down) FlipRows(image);
    return true;
}

std::optional<Image> CropImage(const Image& image, int left, int top, int width, int height) {
    const int x0 = std::clamp(left, 0, image.width);
    const int y0 = std::clamp(top, 0, image.height);
    const int x1 = std::clamp(left + std::max(0, width), x0, image.width);
    const int y1 = std::clamp(top + std::max(0, height), y0, image.height);
    std::optional<Image> part = AllocateImage(x1 - x0, y1 - y0, image.format);
    if (!part) return std::nullopt;
    part->palette = image.palette;
    part->paletteSize = image.paletteSize;
    part->transparentIndex = image.transparentIndex;
    part->complete = image.complete;
    part->dpiX = image.dpiX;
    part->dpiY = image.dpiY;
    const int bytes = BytesPerPixel(image.format);
    for (int y = y0; y < y1; ++y) {
        const std::uint8_t* from = image.Row(y);
        std::uint8_t* to = part->Row(y - y0);
        if (bytes > 0) {
            std::memcpy(to, from + static_cast<std::size_t>(x0) * bytes,
                        static_cast<std::size_t>(x1 - x0) * bytes);
            continue;
        }
        for (int x = x0; x < x1; ++x) {
            const int bit = (from[x / bitsPerByte] >> (bitsPerByte - 1 - x % bitsPerByte)) & 1;
            const int at = x - x0;
            to[at / bitsPerByte] |= static_cast<std::uint8_t>(bit << (bitsPerByte - 1 - at % bitsPerByte));
        }
    }
    return part;
}

}  // namespace picture
