#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace mozhou::assets {

inline constexpr int iconSide = 32;
inline constexpr int iconColourCount = 16;
inline constexpr int iconBitsPerPixel = 4;

// The fixed 16-colour palette every display can show; the encoder always
// writes it in this order, so the enumerator value is the palette index.
enum class StandardColour : std::uint8_t {
    black,
    maroon,
    green,
    olive,
    navy,
    purple,
    teal,
    silver,
    grey,
    red,
    lime,
    yellow,
    blue,
    fuchsia,
    aqua,
    white,
};

struct IconPixel {
    StandardColour colour = StandardColour::black;
    bool opaque = false;
};

// Row-major, top row first.
using IconPixels = std::array<IconPixel, static_cast<std::size_t>(iconSide) * iconSide>;

// Builds a complete .ico file holding one 32 x 32, 4-bit image: the colour
// bitmap followed by the 1-bit mask that makes non-opaque pixels show through.
std::vector<std::uint8_t> EncodeIcon(const IconPixels& pixels);

} // namespace mozhou::assets
