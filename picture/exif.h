// The facts a picture's EXIF block (a small TIFF file inside JPEG, PNG and WebP files) holds for
// showing and printing it: which way up the stored pixels are, and the resolution.
#pragma once

#include "picture/decoders.h"

namespace picture {

// How the stored rows and columns lie in the upright picture, as the EXIF/TIFF orientation
// numbers them: 1 as stored, 2 mirrored left to right, 3 turned half round, 4 mirrored top to
// bottom, 5 mirrored over the main diagonal, 6 stored a quarter turn anticlockwise (turned a
// quarter clockwise to be upright), 7 mirrored over the other diagonal, 8 stored a quarter turn
// clockwise. 5 to 8 have width and height swapped.
inline bool SwapsSides(int orientation) { return orientation >= 5 && orientation <= 8; }

struct ExifFacts {
    int orientation = 1;  // 1 to 8
    double dpiX = 0;      // pixels per inch along the stored rows; 0 when none is stated
    double dpiY = 0;      // and down the stored columns
};

// Reads the first image directory of a TIFF-structured block, in either byte order, with or
// without the "Exif\0\0" that JPEG files (and some WebP writers) put before it. Whatever the
// bytes, it reads only inside them and follows no pointer to another directory: what is damaged
// or missing keeps its default (orientation 1, no resolution). An orientation outside 1 to 8 is
// 1; a resolution is kept when its unit is the inch (the default) or the centimetre.
ExifFacts ReadExif(Bytes block);

// What ReadPictureInfo gives for a picture stored width × height with these facts: the sizes and
// resolutions swapped when the orientation turns it on its side.
PictureInfo UprightInfo(Kind kind, int width, int height, const ExifFacts& facts);

}  // namespace picture
