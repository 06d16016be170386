// Fuzzes the picture decoders: ours, and libjpeg, libpng and libwebp behind theirs. Whatever the
// bytes, nothing reads or writes outside its buffers, and what comes back is consistent.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <webp/decode.h>

#include "picture/decoders.h"
#include "picture/exif.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

// With info, the picture is as its file's header said: upright size and resolution.
void CheckImage(const picture::Image& image, const std::optional<picture::PictureInfo>& info = {}) {
    Check(picture::AcceptableSize(image.width, image.height));
    Check(image.dpiX == picture::SensibleDpi(image.dpiX) && image.dpiY == picture::SensibleDpi(image.dpiY));
    Check(!info || (info->width == image.width && info->height == image.height &&
                    info->dpiX == image.dpiX && info->dpiY == image.dpiY));
    Check(image.pixels.size() == image.Stride() * static_cast<std::size_t>(image.height));
    Check(image.paletteSize >= 0 && image.paletteSize <= 256);
    Check(image.transparentIndex >= -1 && image.transparentIndex <= 255);
}

// What the first animation frame draws is the first image's colour at that place.
void CheckSameFirstFrame(const picture::Image& indexed, const picture::Image& frame) {
    Check(frame.width == indexed.width && frame.height == indexed.height);
    for (int y = 0; y < frame.height; ++y) {
        for (int x = 0; x < frame.width; ++x) {
            const std::uint8_t* p = frame.Row(y) + 4 * x;
            if (p[3] == 0) continue;
            const std::uint32_t colour = indexed.palette[indexed.Row(y)[x]];
            Check(p[3] == 0xFF && (p[0] | p[1] << 8 | p[2] << 16) == static_cast<int>(colour));
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const picture::Bytes bytes(data, size);
    const picture::Kind kind = picture::RecognizeKind(bytes);
    if (size < 8) Check(kind == picture::Kind::None);

    // The bytes as an EXIF block, as JPEG, PNG and WebP files carry one.
    const picture::ExifFacts exif = picture::ReadExif(bytes);
    Check(exif.orientation >= 1 && exif.orientation <= 8 && exif.dpiX == picture::SensibleDpi(exif.dpiX));
    const auto info = kind == picture::Kind::Gif ? std::nullopt : picture::ReadPictureInfo(bytes);
    if (info) Check(info->kind == kind && picture::AcceptableSize(info->width, info->height));

    const auto le16 = [&](std::size_t at) -> std::uint64_t {
        return data[at] | (data[at + 1] << 8);
    };
    // Run-length bitmaps and WebP pictures take their stated size's memory once their data is
    // sound, which a few bytes can be: big ones only slow the fuzzer down, as big GIF screens do.
    const bool runs = size >= 31 && (data[30] == 1 || data[30] == 2);
    if (!(runs && le16(18) * le16(22) > (1u << 20))) {
        if (auto image = picture::DecodeBmp(bytes)) {
            Check(image->format == picture::PixelFormat::Bgr24);
            CheckImage(*image, picture::ReadBmpInfo(bytes).value());
        }
    }
    int webpWidth = 0, webpHeight = 0;
    if (!WebPGetInfo(data, size, &webpWidth, &webpHeight) || webpWidth * webpHeight <= (1 << 20)) {
        if (auto image = picture::DecodeWebp(bytes)) {
            Check(kind == picture::Kind::Webp && image->format == picture::PixelFormat::Bgra32);
            CheckImage(*image, picture::ReadWebpInfo(bytes).value());
        }
    }
    if (auto image = picture::DecodePcx(bytes)) CheckImage(*image, picture::ReadPcxInfo(bytes).value());
    // JPEG and PNG pictures take their stated size's memory whatever data follows: big ones only
    // slow the fuzzer down.
    const auto jpeg = picture::ReadJpegInfo(bytes);
    if (jpeg && std::uint64_t{1} * jpeg->width * jpeg->height <= (1u << 20)) {
        if (const auto image = picture::DecodeJpeg(bytes)) {
            CheckImage(*image, jpeg);
            // The picture box's quick check tells an incomplete file as a whole decode does.
            const auto small = picture::DecodeJpegScaled(bytes, 1, 1);
            Check(small && small->width * 8 >= jpeg->width && small->complete == image->complete);
        }
    }
    const auto be32 = [&](std::size_t at) -> std::uint64_t {
        return std::uint64_t{data[at]} << 24 | data[at + 1] << 16 | data[at + 2] << 8 | data[at + 3];
    };
    if (size < 24 || be32(16) * be32(20) <= (1u << 20)) {
        if (auto image = picture::DecodePng(bytes)) {
            Check(kind == picture::Kind::Png && image->format == picture::PixelFormat::Bgra32);
            CheckImage(*image, picture::ReadPngInfo(bytes).value());
        }
    }
    // libavif scales a few AV1 bytes up to the size the container claims: big ones only slow the fuzzer down.
    const auto avif = picture::ReadAvifInfo(bytes);
    if (avif && std::uint64_t{1} * avif->width * avif->height <= (1u << 20)) {
        if (const auto image = picture::DecodeAvif(bytes)) CheckImage(*image, avif);
    }
    // GIF screens are allocated whatever the data holds, and each animation frame is a copy of
    // the screen: big screens (and empty ones, which take the first image's size) only slow the
    // fuzzer down.
    const std::uint64_t gifScreen = size >= 10 ? le16(6) * le16(8) : 1;
    const bool bigGifScreen = gifScreen == 0 || gifScreen > (1u << 16);
    if (!bigGifScreen) {
        const auto image = picture::DecodeGif(bytes);
        if (image) {
            Check(image->format == picture::PixelFormat::Indexed8);
            CheckImage(*image);
        }
        if (auto animation = picture::DecodeGifAnimation(bytes)) {
            Check(image && animation->frames.size() > 1);
            CheckSameFirstFrame(*image, animation->frames[0].image);
            std::uint64_t pixels = 0;
            for (const auto& frame : animation->frames) {
                CheckImage(frame.image);
                pixels += static_cast<std::uint64_t>(frame.image.width) * frame.image.height;
            }
            Check(pixels <= picture::largestPixelCount);
        }
    }
    // HEIC pictures (libheif behind ours) take the memory of their stated size, checked or not.
    const bool smallHeif = kind == picture::Kind::Heif && info && 1ull * info->width * info->height <= (1u << 20);
    if (const auto image = smallHeif ? picture::DecodeHeif(bytes) : std::nullopt) CheckImage(*image, info);
    if (auto icon = picture::SelectIconImage(bytes)) {
        Check(icon->offset <= size && icon->size <= size - icon->offset);
        Check(picture::AcceptableSize(icon->width, icon->height));
    }
    return 0;
}
