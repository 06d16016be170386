#include "picture/decoders.h"

namespace picture {

std::optional<Image> DecodePicture(Bytes bytes, Kind kind) {
    switch (kind) {
    case Kind::Jpeg: return DecodeJpeg(bytes);
    case Kind::Png: return DecodePng(bytes);
    case Kind::Bmp: return DecodeBmp(bytes);
    case Kind::Gif: return DecodeGif(bytes);
    case Kind::Webp: return DecodeWebp(bytes);
    case Kind::Pcx8:
    case Kind::Pcx1: return DecodePcx(bytes);
    case Kind::Icon:
    case Kind::Cursor:
    case Kind::None: return std::nullopt;
    }
    return std::nullopt;
}

PictureState StateOf(const std::optional<Image>& image) {
    if (!image) return PictureState::Undecodable;
    return image->complete ? PictureState::Whole : PictureState::Incomplete;
}

}  // namespace picture
