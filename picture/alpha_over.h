// PNG pixels laid over a background before they are drawn: Windows' stretching has no use for
// the alpha channel, so every pixel becomes opaque first.
#pragma once

#include <cstdint>
#include <vector>

#include "picture/picture_data.h"

namespace picture {

// One colour channel of a pixel with the given alpha over a background channel:
// trunc(alpha × k × c + b × (1 − alpha × k)) with k = 0.003921569, the program's 1/255,
// clamped to 0..255. Alpha 255 leaves the channel as it is.
std::uint8_t OverBackground(int channel, int alpha, int background);

// The pixels of a Bgra32 image laid over a background colour (0x00BBGGRR), in the same top-down
// layout with alpha 255 everywhere; empty when the image is not Bgra32 or its buffer is short.
std::vector<std::uint8_t> CompositeOver(const Image& image, std::uint32_t background);

}  // namespace picture
