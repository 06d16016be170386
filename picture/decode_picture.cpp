#include "picture/decoders.h"
#include "picture/heif_library.h"

namespace picture {

std::optional<Image> DecodePicture(Bytes bytes, Kind kind, int page) {
    if (kind == Kind::Tiff) return DecodeTiff(bytes, page);
    if (page != 0) return std::nullopt;
    switch (kind) {
    case Kind::Jpeg: return DecodeJpeg(bytes);
    case Kind::Png: return DecodePng(bytes);
    case Kind::Bmp: return DecodeBmp(bytes);
    case Kind::Gif: return DecodeGif(bytes);
    case Kind::Webp: return DecodeWebp(bytes);
    case Kind::Heif: return DecodeHeif(bytes);
    case Kind::Avif: return DecodeAvif(bytes);
    case Kind::Pcx8:
    case Kind::Pcx1: return DecodePcx(bytes);
    case Kind::Tiff:
    case Kind::Icon:
    case Kind::Cursor:
    case Kind::None: return std::nullopt;
    }
    return std::nullopt;
}

std::optional<PictureInfo> ReadPictureInfo(Bytes bytes) {
    const Kind kind = RecognizeKind(bytes);
    switch (kind) {
    case Kind::Jpeg: return ReadJpegInfo(bytes);
    case Kind::Png: return ReadPngInfo(bytes);
    case Kind::Bmp: return ReadBmpInfo(bytes);
    case Kind::Webp: return ReadWebpInfo(bytes);
    case Kind::Tiff: return ReadTiffInfo(bytes);
    case Kind::Heif: return ReadHeifInfo(bytes);
    case Kind::Avif: return ReadAvifInfo(bytes);
    case Kind::Pcx8:
    case Kind::Pcx1: return ReadPcxInfo(bytes);
    case Kind::Gif: {
        const std::optional<Image> image = DecodeGif(bytes);
        if (!image) return std::nullopt;
        return PictureInfo{kind, image->width, image->height, image->dpiX, image->dpiY};
    }
    case Kind::Icon:
    case Kind::Cursor: {
        const std::optional<IconImage> icon = SelectIconImage(bytes);
        if (!icon) return std::nullopt;
        return PictureInfo{kind, icon->width, icon->height, 0, 0};
    }
    case Kind::None: return std::nullopt;
    }
    return std::nullopt;
}

bool DecoderMissing(Bytes bytes) {
    const Kind kind = RecognizeKind(bytes);
    return (kind == Kind::Heif || kind == Kind::Avif) && LoadHeifLibrary() == nullptr;
}

PictureState StateOf(const std::optional<Image>& image) {
    if (!image) return PictureState::Undecodable;
    return image->complete ? PictureState::Whole : PictureState::Incomplete;
}

}  // namespace picture
