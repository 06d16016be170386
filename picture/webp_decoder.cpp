// WebP still pictures, lossy or lossless, with or without alpha, decoded by libwebp straight into
// the picture's own rows. Animations are not shown: libwebp's still decoders refuse them. The
// incremental decoder is used for the whole file at once because it tells a file that ends early
// (it waits for more) from a damaged one, and has put the rows it could decode in place.
//
// An extended file may hold an EXIF chunk: its orientation turns the picture upright, and its
// resolution is the picture's (WebP has no other place for one).
#include <cstring>
#include <memory>

#include <webp/decode.h>

#include "picture/decoders.h"
#include "picture/exif.h"
#include "picture/turn_and_crop.h"

namespace picture {
namespace {

constexpr std::size_t riffHeaderSize = 12;  // "RIFF", the size, "WEBP"
constexpr std::size_t chunkHeaderSize = 8;  // the type, then the data's length

// The facts of the first EXIF chunk, looked for among the chunks that lie inside the bytes.
ExifFacts ReadFacts(Bytes bytes) {
    for (std::size_t at = riffHeaderSize; bytes.size() - at >= chunkHeaderSize;) {
        const std::size_t length = Le32(bytes, at + 4);
        if (length > bytes.size() - at - chunkHeaderSize) break;
        if (std::memcmp(bytes.data() + at, "EXIF", 4) == 0) {
            return ReadExif(bytes.subspan(at + chunkHeaderSize, length));
        }
        // Chunks are padded to an even length; the padding may be missing after the last one.
        const std::size_t next = chunkHeaderSize + length + (length & 1);
        if (next > bytes.size() - at) break;
        at += next;
    }
    return {};
}

// The features of a still picture of acceptable size; false for anything else.
bool ReadStillFeatures(Bytes bytes, WebPBitstreamFeatures& features) {
    // libwebp also takes bare VP8 and VP8L streams; files are RIFF containers.
    return RecognizeKind(bytes) == Kind::Webp &&
           WebPGetFeatures(bytes.data(), bytes.size(), &features) == VP8_STATUS_OK &&
           !features.has_animation && AcceptableSize(features.width, features.height);
}

struct DeleteDecoder {
    void operator()(WebPIDecoder* decoder) const { WebPIDelete(decoder); }
};

}  // namespace

std::optional<Image> DecodeWebp(Bytes bytes) {
    WebPBitstreamFeatures features;
    if (!ReadStillFeatures(bytes, features)) return std::nullopt;
    auto image = AllocateImage(features.width, features.height, PixelFormat::Bgra32);
    if (!image) return std::nullopt;
    VP8StatusCode status = VP8_STATUS_OUT_OF_MEMORY;
    {  // the decoder writes into the image until it is deleted
        const std::unique_ptr<WebPIDecoder, DeleteDecoder> decoder(
            WebPINewRGB(MODE_BGRA, image->pixels.data(), image->pixels.size(),
                        static_cast<int>(image->Stride())));
        if (decoder) status = WebPIUpdate(decoder.get(), bytes.data(), bytes.size());
    }
    switch (status) {
    case VP8_STATUS_OK: break;
    case VP8_STATUS_SUSPENDED: image->complete = false; break;
    default: return std::nullopt;
    }
    const ExifFacts facts = ReadFacts(bytes);
    image->dpiX = facts.dpiX;
    image->dpiY = facts.dpiY;
    TurnUpright(*image, facts.orientation);
    return image;
}

std::optional<PictureInfo> ReadWebpInfo(Bytes bytes) {
    WebPBitstreamFeatures features;
    if (!ReadStillFeatures(bytes, features)) return std::nullopt;
    return UprightInfo(Kind::Webp, features.width, features.height, ReadFacts(bytes));
}

}  // namespace picture
