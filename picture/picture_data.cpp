#include "picture/picture_data.h"

#include <cmath>
#include <new>

namespace picture {
namespace {

constexpr std::int64_t longestSide = 65535;
constexpr double mostDpi = 100000;
constexpr double metresPerInch = 0.0254;

std::size_t PadToFourBytes(std::size_t bytes) { return (bytes + 3) & ~std::size_t{3}; }

}  // namespace

std::size_t Image::StrideFor(PixelFormat format, int width) {
    const auto columns = static_cast<std::size_t>(width < 0 ? 0 : width);
    switch (format) {
    case PixelFormat::Bgr24: return PadToFourBytes(columns * 3);
    case PixelFormat::Bgra32: return columns * 4;
    case PixelFormat::Indexed8: return PadToFourBytes(columns);
    case PixelFormat::Mono1: return PadToFourBytes((columns + 7) / 8);
    }
    return 0;
}

double SensibleDpi(double pixelsPerInch) {
    return std::isfinite(pixelsPerInch) && pixelsPerInch > 0 && pixelsPerInch <= mostDpi
               ? pixelsPerInch
               : 0;
}

double DpiFromPerMetre(double pixelsPerMetre) { return SensibleDpi(pixelsPerMetre * metresPerInch); }

bool AcceptableSize(std::int64_t width, std::int64_t height) {
    return width >= 1 && height >= 1 && width <= longestSide && height <= longestSide &&
           static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) <=
               largestPixelCount;
}

std::optional<Image> AllocateImage(std::int64_t width, std::int64_t height, PixelFormat format) {
    if (!AcceptableSize(width, height)) return std::nullopt;
    Image image;
    image.width = static_cast<int>(width);
    image.height = static_cast<int>(height);
    image.format = format;
    try {
        image.pixels.assign(image.Stride() * static_cast<std::size_t>(image.height), 0);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    return image;
}

}  // namespace picture
