// A picture as a page places it: turned by quarter turns, then cut to a part of it; and a
// picture stored sideways or mirrored made upright.
#pragma once

#include <optional>

#include "picture/picture_data.h"

namespace picture {

// The image turned clockwise by so many quarter turns (any number, negative ones turning the
// other way); nullopt when the memory for the result is not there.
std::optional<Image> TurnQuarters(const Image& image, int quarterTurns);

// Makes an image stored with the given EXIF orientation (see picture/exif.h) upright; any other
// number leaves it as it is. False, with the image left as stored, when the memory for turning
// it is not there.
bool TurnUpright(Image& image, int orientation);

// The part of the image from (left, top), width × height pixels, held inside the image; nullopt
// when nothing of it is left or the memory is not there.
std::optional<Image> CropImage(const Image& image, int left, int top, int width, int height);

}  // namespace picture
