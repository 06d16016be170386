// The decoders: picture file bytes in, pixels out. Each returns nullopt for data it cannot
// decode (a wrong or lying header, a size that is not acceptable, data that ends before the
// pixels start). Data that ends among the pixels gives what it holds, marked incomplete (see
// Image::complete), where the format lets the decoder tell.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "picture/picture_data.h"

namespace picture {

std::optional<Image> DecodeJpeg(Bytes bytes);  // to Bgr24
// As DecodeJpeg, shrunk by the smallest of 1/8, 1/4 and 1/2 (decoded so, which is much faster)
// whose size is still at least atLeastWidth × atLeastHeight; the full size when none is.
std::optional<Image> DecodeJpegScaled(Bytes bytes, int atLeastWidth, int atLeastHeight);
struct PictureSize {
    int width = 0;
    int height = 0;
};
// A JPEG's size from its header alone; nullopt for a header DecodeJpeg refuses.
std::optional<PictureSize> ReadJpegSize(Bytes bytes);
std::optional<Image> DecodePng(Bytes bytes);   // to Bgra32
std::optional<Image> DecodeBmp(Bytes bytes);   // to Bgr24
std::optional<Image> DecodeWebp(Bytes bytes);  // still pictures only, to Bgra32
std::optional<Image> DecodeGif(Bytes bytes);   // the first frame, Indexed8, the logical screen's size
std::optional<Image> DecodePcx(Bytes bytes);   // Indexed8 or Mono1

// Decodes by the recognised kind; icons and cursors are made by Windows and give nullopt here.
std::optional<Image> DecodePicture(Bytes bytes, Kind kind);

// Whole, incomplete, or undecodable for nullopt.
PictureState StateOf(const std::optional<Image>& image);

// All frames of a GIF of two or more images, each the whole logical screen as Bgra32 after the
// frame was drawn with the previous frames' disposal applied; pixels never drawn are transparent
// (alpha 0). A GIF of one image is a still picture and gives nullopt.
struct AnimationFrame {
    Image image;
    int delayMs = 0;  // as stored; the shower decides how to treat very short delays
};
struct Animation {
    std::vector<AnimationFrame> frames;
};
// So does one whose frames together would take more memory than the largest still picture
// (largestPixelCount pixels of Bgra32): it is shown still, as DecodeGif gives it.
std::optional<Animation> DecodeGifAnimation(Bytes bytes);

// The image an icon or cursor file holds for the program: the first entry of 32 pixels width
// with more than 15 colours, else the last entry.
struct IconImage {
    std::size_t offset = 0;  // of the image data in the file
    std::size_t size = 0;
    int width = 0;           // from the image's own header
    int height = 0;          // half the header's height (the header counts the mask too)
    int bitCount = 0;
};
std::optional<IconImage> SelectIconImage(Bytes bytes);

}  // namespace picture
