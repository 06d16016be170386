// The decoders: picture file bytes in, pixels out. Each returns nullopt for data it cannot
// decode (a wrong or lying header, a size that is not acceptable, data that ends before the
// pixels start). Data that ends among the pixels gives what it holds, marked incomplete (see
// Image::complete), where the format lets the decoder tell.
//
// Pictures come out upright: JPEG, PNG and WebP files that record an EXIF orientation are turned
// and mirrored as it says (see picture/exif.h), and left as stored when the memory for that is
// not there; TIFF pages by their Orientation tag. Image::dpiX and dpiY hold the resolution the
// file records, along the upright picture's rows and columns: JPEG from its JFIF header, else its
// EXIF block; PNG from its pHYs chunk, else its EXIF block; WebP from its EXIF block; BMP, PCX and
// TIFF from their headers.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "picture/picture_data.h"

namespace picture {

std::optional<Image> DecodeJpeg(Bytes bytes);  // to Bgr24
// As DecodeJpeg, shrunk by the smallest of 1/8, 1/4 and 1/2 (decoded so, which is much faster)
// whose upright size is still at least atLeastWidth × atLeastHeight; the full size when none is.
std::optional<Image> DecodeJpegScaled(Bytes bytes, int atLeastWidth, int atLeastHeight);
std::optional<Image> DecodePng(Bytes bytes);   // to Bgra32
std::optional<Image> DecodeBmp(Bytes bytes);   // to Bgr24
std::optional<Image> DecodeWebp(Bytes bytes);  // still pictures only, to Bgra32
std::optional<Image> DecodeGif(Bytes bytes);   // the first frame, Indexed8, the logical screen's size
std::optional<Image> DecodePcx(Bytes bytes);   // Indexed8 or Mono1
// One page of a TIFF file, counted from 0: Mono1 (black at index 0) for a bilevel page, Bgra32
// for one with alpha, else Bgr24. Nullopt past the last page or for one libtiff cannot read.
std::optional<Image> DecodeTiff(Bytes bytes, int page = 0);
// Files of more pages are read to this many.
inline constexpr int largestTiffPageCount = 1000;
// The primary picture of a HEIF file of HEVC pictures (HEIC) or of an AVIF file, grids included,
// turned and mirrored by the container's irot and imir (an EXIF orientation is then not applied
// again): Bgra32 when it has alpha, else Bgr24.
std::optional<Image> DecodeHeif(Bytes bytes);
std::optional<Image> DecodeAvif(Bytes bytes);

// Decodes by the recognised kind; icons and cursors are made by Windows and give nullopt here.
// page counts the pages of a file of several (TIFF); other kinds have page 0 alone.
std::optional<Image> DecodePicture(Bytes bytes, Kind kind, int page = 0);

// What a picture file is without its pixels: the upright picture's size and the resolution it
// records (0 for none), as the decoded Image would have them.
struct PictureInfo {
    Kind kind = Kind::None;
    int width = 0;
    int height = 0;
    double dpiX = 0;
    double dpiY = 0;
    int page = 0;  // of a file of several pages (TIFF), counted from 0
};
// By the recognised kind (the first page of a TIFF). JPEG, PNG, BMP, PCX and WebP are read from their headers alone, and give
// nullopt where the decoder refuses the header; a header that passes may still lead to damaged
// data that the decoder refuses. GIF is decoded. Icons and cursors give the size of the entry
// SelectIconImage chooses, with no resolution. Nullopt for what is no picture.
std::optional<PictureInfo> ReadPictureInfo(Bytes bytes);
// ReadPictureInfo for one format each; the file must be of that format.
std::optional<PictureInfo> ReadJpegInfo(Bytes bytes);
std::optional<PictureInfo> ReadPngInfo(Bytes bytes);
std::optional<PictureInfo> ReadBmpInfo(Bytes bytes);
std::optional<PictureInfo> ReadPcxInfo(Bytes bytes);
std::optional<PictureInfo> ReadWebpInfo(Bytes bytes);
std::optional<PictureInfo> ReadTiffInfo(Bytes bytes);
std::optional<PictureInfo> ReadHeifInfo(Bytes bytes);
std::optional<PictureInfo> ReadAvifInfo(Bytes bytes);
// Every page of a TIFF file, in order, up to the first that libtiff cannot read or that is of no
// acceptable size (as DecodeTiff and ReadTiffInfo refuse it) and at most largestTiffPageCount;
// empty for what is no TIFF file.
std::vector<PictureInfo> ReadTiffPages(Bytes bytes);
// The pages ReadTiffPages lists, decoded, up to the first that does not decode.
std::vector<Image> DecodeTiffPages(Bytes bytes);

// True for a picture whose decoder is a library the program loads when needed and which is not
// there (HEIC and AVIF without libheif): such a file is a picture the program cannot read here, not a file
// that is no picture.
bool DecoderMissing(Bytes bytes);

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
