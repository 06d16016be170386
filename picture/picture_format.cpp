#include "picture/picture_data.h"

namespace picture {

Kind RecognizeKind(Bytes bytes) {
    if (bytes.size() < 8) return Kind::None;
    const auto b = [&](std::size_t i) { return bytes[i]; };
    if (b(0) == 0x42 && b(1) == 0x4D) return Kind::Bmp;
    if (b(0) == 0xFF && b(1) == 0xD8) return Kind::Jpeg;
    if (b(0) == 0x89 && b(1) == 0x50 && b(2) == 0x4E && b(3) == 0x47) return Kind::Png;

    // Icons and cursors differ only in the type word; an empty directory is not a picture.
    const unsigned imageCount = b(4) | (b(5) << 8);
    if (b(0) == 0 && b(1) == 0 && b(3) == 0 && imageCount > 0) {
        if (b(2) == 1) return Kind::Icon;
        if (b(2) == 2) return Kind::Cursor;
    }
    if (b(0) == 'G' && b(1) == 'I' && b(2) == 'F' && b(3) == '8' && (b(4) == '7' || b(4) == '9') &&
        b(5) == 'a') {
        return Kind::Gif;
    }
    // PCX: manufacturer 0x0A, version, encoding 1 (run lengths), bits per pixel.
    if (b(0) == 0x0A && b(2) == 1) {
        if (b(1) <= 5 && b(3) == 8) return Kind::Pcx8;
        if (b(1) == 3 && b(3) == 1) return Kind::Pcx1;
    }
    // WebP: a RIFF file of form type WEBP.
    if (bytes.size() >= 12 && b(0) == 'R' && b(1) == 'I' && b(2) == 'F' && b(3) == 'F' &&
        b(8) == 'W' && b(9) == 'E' && b(10) == 'B' && b(11) == 'P') {
        return Kind::Webp;
    }
    // TIFF: the byte order, then 42 (classic) or 43 (BigTIFF) in that order.
    if ((b(0) == 'I' && b(1) == 'I' && (b(2) == 42 || b(2) == 43) && b(3) == 0) ||
        (b(0) == 'M' && b(1) == 'M' && b(2) == 0 && (b(3) == 42 || b(3) == 43))) {
        return Kind::Tiff;
    }
    return Kind::None;
}

}  // namespace picture
