// Pictures that come as a device-independent bitmap (the clipboard's CF_DIB and CF_DIBV5: an
// information header, colour masks, a palette and the pixels, without a file header) made into
// the bytes of a picture file, so that they are kept, shown and printed as a loaded file is.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "picture/picture_data.h"

namespace picture {

// A 32-bit DIB whose alpha channel says something (some pixel neither opaque nor all of them 0,
// which is what a DIB whose fourth byte is unused holds) becomes a PNG file with that alpha;
// every other DIB becomes a BMP file: 1, 4, 8 and 24 bits uncompressed as they are, 16 and 32 bits
// (plain or with colour masks) as 24 bits. nullopt for a DIB that is cut short, compressed or of a
// size or depth the program cannot show.
std::optional<std::vector<std::uint8_t>> FileImageFromDib(Bytes dib);

}  // namespace picture
