// WebP still pictures, lossy or lossless, with or without alpha, decoded by libwebp straight into
// the picture's own rows. Animations are not shown: libwebp's still decoders refuse them. The
// incremental decoder is used for the whole file at once because it tells a file that ends early
// (it waits for more) from a damaged one, and has put the rows it could decode in place.
#include <memory>

#include <webp/decode.h>

#include "picture/decoders.h"

namespace picture {
namespace {

struct DeleteDecoder {
    void operator()(WebPIDecoder* decoder) const { WebPIDelete(decoder); }
};

}  // namespace

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
    const std::unique_ptr<WebPIDecoder, DeleteDecoder> decoder(
        WebPINewRGB(MODE_BGRA, image->pixels.data(), image->pixels.size(),
                    static_cast<int>(image->Stride())));
    if (!decoder) return std::nullopt;
    switch (WebPIUpdate(decoder.get(), bytes.data(), bytes.size())) {
    case VP8_STATUS_OK: return image;
    case VP8_STATUS_SUSPENDED: image->complete = false; return image;
    default: return std::nullopt;
    }
}

}  // namespace picture
