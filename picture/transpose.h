// A picture turned over its main diagonal, for printing a picture on its side: the pixel in
// column x, row y goes to column y, row x.
#pragma once

#include <optional>

#include "picture/picture_data.h"

namespace picture {

// The turned picture, height wide and width high, in the same pixel format with the palette,
// its size, the transparent index and completeness copied and the resolutions across and down
// exchanged; nullopt when the image is empty, its buffer is
// short, or the memory for the result is not there.
std::optional<Image> TransposeImage(const Image& image);

}  // namespace picture
