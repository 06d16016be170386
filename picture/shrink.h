// Making a picture smaller by averaging: each new pixel is the mean of the block of old pixels it
// covers. Used where the screen needs a picture at a size Windows would otherwise stretch it to
// itself, which under Wine's halftone mode costs more than decoding it.
#pragma once

#include <optional>

#include "picture/picture_data.h"

namespace picture {

// Bgr24 and Bgra32 pictures at width × height, each no larger than the picture's own side;
// nullopt for other formats, other sizes or when the memory is not there.
std::optional<Image> ShrinkImage(const Image& image, int width, int height);

}  // namespace picture
