// WebP still pictures, lossy or lossless, with or without alpha, decoded by libwebp straight into
// the picture's own rows. Animations are not shown: libwebp's simple interface refuses them.
#include <webp/decode.h>

#include "picture/decoders.h"

namespace picture {

std::optional<Image> DecodeWebp(Bytes bytes) {
    // libwebp also takes bare VP8 and VP8L streams; files are RIFF containers.
    if (RecognizeKind(bytes) != Kind::Webp) return std::nullopt;
    WebPBitstreamFeatures features;
    if (WebPGetFeatures(bytes.data(), bytes.size(), &features) != VP8_STATUS_OK ||
        features.has_animation) {
        return std::nullopt;
    }
    auto image = AllocateImage(features.width, features.height, PixelFormat::Bgra32);
    if (!image) return std::nullopt;
    if (!WebPDecodeBGRAInto(bytes.data(), bytes.size(), image->pixels.data(), image->pixels.size(),
                            static_cast<int>(image->Stride()))) {
        return std::nullopt;
    }
    return image;
}

}  // namespace picture
