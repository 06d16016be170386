#pragma once

#include "raster.h"

#include <cstdint>
#include <vector>

namespace mozhou::assets {

// Encodes the image as a progressive JPEG with libjpeg's standard scan
// script. The integer DCT keeps the bytes independent of the host's
// floating-point unit.
std::vector<std::uint8_t> EncodeProgressiveJpeg(const RgbImage& image, int quality);

} // namespace mozhou::assets
