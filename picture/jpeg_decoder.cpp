// JPEG through libjpeg-turbo, with the same settings as its djpeg tool (accurate integer DCT,
// smooth upsampling), so that the pixels equal what djpeg writes.
//
// libjpeg reports errors by calling error_exit, which must not return: ours jumps back into
// Decompress with longjmp. Decompress therefore holds only trivially destructible locals, and
// everything that owns memory (the image, the decompressor's pools) lives in Decode, which
// cleans up after either way out.
//
// A picture box needs far fewer pixels than a large photo has: libjpeg can decode at 1/2, 1/4
// or 1/8 of the size by leaving out the finer frequencies (DCT scaling), several times faster
// than decoding everything and then shrinking it.
//
// Data that ends early is decoded the way picture viewers show it: libjpeg warns, pretends the
// file ended properly, and the rows it had no data for come out grey (or as the coarser scans
// had them, for a progressive file). Only the header has to be complete; the warning marks the
// picture incomplete.
//
// Phones store photos as the sensor saw them and record in an EXIF block (an APP1 marker) which
// way up they are: the pixels are turned upright after decoding, and a scaled decode compares
// the wanted size with the upright picture's. The resolution comes from the JFIF header when it
// states one per inch or per centimetre, else from the EXIF block.
#include <climits>
#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstdio>  // jpeglib.h needs FILE
#include <cstring>
#include <limits>
#include <new>

#include <jpeglib.h>
#include <jerror.h>

#include "picture/decoders.h"
#include "picture/exif.h"
#include "picture/turn_and_crop.h"

namespace picture {
namespace {

// More scans than any encoder writes; a file with more is built to keep the decoder busy.
constexpr int mostScans = 1000;
// libjpeg's own working memory (a progressive file keeps all its coefficients), beside the
// image: enough for the largest acceptable picture with four full-resolution components.
constexpr long mostWorkingMemory = 640L * 1024 * 1024;
// A progressive file keeps a coefficient for every sample until its last scan, whatever its
// size on disk. Real files need some bits of data for every block, so the buffers a file may
// ask for grow with the file: a small file claiming a huge picture is refused before they are
// made. The ratio is far above what even a plain one-colour picture compresses to.
constexpr std::uint64_t coefficientBytesPerFileByte = 4096;
constexpr std::uint64_t coefficientBytesAnyFile = 64u * 1024 * 1024;
constexpr std::uint64_t bytesPerCoefficient = 2;
// Rows handed to libjpeg per call; it never gives more than 4 at once with the usual sampling.
constexpr int rowsPerCall = 16;
// libjpeg's quick scales as the denominator of 1/n, smallest output first; 1 is the full size.
constexpr unsigned scaleDenominators[] = {8, 4, 2, 1};
// An APP1 marker's data is at most this long; the EXIF block is the one starting "Exif\0\0".
constexpr unsigned longestMarker = 0xFFFF;
constexpr std::uint8_t exifStart[] = {'E', 'x', 'i', 'f', 0, 0};
// JFIF density units.
constexpr int jfifPerInch = 1;
constexpr int jfifPerCentimetre = 2;
constexpr double centimetresPerInch = 2.54;

// What a run of the decompressor is for: the header alone, or the pixels at the smallest of the
// scales whose output is still at least the wanted size.
struct Request {
    bool headerOnly = false;
    std::int64_t atLeastWidth = 0;
    std::int64_t atLeastHeight = 0;
};
constexpr std::int64_t noLimit = std::numeric_limits<std::int64_t>::max();
constexpr Request wholePicture{false, noLimit, noLimit};
constexpr Request headerAlone{true, 0, 0};

struct ErrorManager {
    jpeg_error_mgr standard;  // first, so that a j_common_ptr's err can be cast back
    std::jmp_buf jump;
    bool dataEnded = false;  // the file or a scan's data ended before the picture did
};

[[noreturn]] void JumpOut(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

// Warnings (corrupt data, a missing end marker) are not shown anywhere.
void IgnoreMessage(j_common_ptr) {}

// libjpeg goes on after the file's end (a fake end marker) and after a scan's data stops short
// (the rest of the scan as zeros); both leave part of the picture made up.
void NoteWarning(j_common_ptr info, int level) {
    if (level >= 0) return;  // trace messages
    const int code = info->err->msg_code;
    if (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER) {
        reinterpret_cast<ErrorManager*>(info->err)->dataEnded = true;
    }
}

void LimitScans(j_common_ptr info) {
    if (!info->is_decompressor) return;
    auto* decompressor = reinterpret_cast<j_decompress_ptr>(info);
    if (decompressor->input_scan_number > mostScans) JumpOut(info);
}

// Adobe applications store CMYK inverted (0 is full ink), so a stored value times K is the
// amount of light left; the same rounding as djpeg's CMYK to RGB.
void CmykRowToBgr(const JSAMPLE* cmyk, std::uint8_t* bgr, int width) {
    for (int x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        const unsigned k = cmyk[3];
        bgr[0] = static_cast<std::uint8_t>((cmyk[2] * k + 127) / 255);
        bgr[1] = static_cast<std::uint8_t>((cmyk[1] * k + 127) / 255);
        bgr[2] = static_cast<std::uint8_t>((cmyk[0] * k + 127) / 255);
    }
}

enum class Outcome { Decoded, Refused, Failed };

// What the header says besides the pixels: the stored size, which way up the picture is, and its
// resolution along the stored rows and columns.
struct Header {
    int width = 0;
    int height = 0;
    ExifFacts exif;
};

// The orientation from the first EXIF block, and the resolution from the JFIF header or else
// from the EXIF block.
ExifFacts ReadFacts(const jpeg_decompress_struct& info) {
    ExifFacts facts;
    for (jpeg_saved_marker_ptr marker = info.marker_list; marker; marker = marker->next) {
        if (marker->marker == JPEG_APP0 + 1 && marker->data_length >= sizeof exifStart &&
            std::memcmp(marker->data, exifStart, sizeof exifStart) == 0) {
            facts = ReadExif(Bytes(marker->data, marker->data_length));
            break;
        }
    }
    if (info.saw_JFIF_marker &&
        (info.density_unit == jfifPerInch || info.density_unit == jfifPerCentimetre)) {
        const double perInch = info.density_unit == jfifPerInch ? 1 : centimetresPerInch;
        facts.dpiX = SensibleDpi(info.X_density * perInch);
        facts.dpiY = SensibleDpi(info.Y_density * perInch);
    }
    return facts;
}

// Leaves the chosen scale and its output size in info; the full size when no smaller scale
// gives the wanted size. The wanted size is the upright picture's: sideways it is swapped.
void ChooseScale(jpeg_decompress_struct& info, const Request& request, bool sideways) {
    const std::int64_t atLeastWidth = sideways ? request.atLeastHeight : request.atLeastWidth;
    const std::int64_t atLeastHeight = sideways ? request.atLeastWidth : request.atLeastHeight;
    info.scale_num = 1;
    for (const unsigned denominator : scaleDenominators) {
        info.scale_denom = denominator;
        jpeg_calc_output_dimensions(&info);
        if (info.output_width >= atLeastWidth && info.output_height >= atLeastHeight) {
            if (denominator > 1) {
                // A reduced picture is for the screen, and is averaged down further there: the
                // quick transform and plain chroma upsampling lose nothing that shows.
                info.dct_method = JDCT_IFAST;
                info.do_fancy_upsampling = FALSE;
            }
            return;
        }
    }
}

// Runs the decompressor over bytes into image, which it allocates once the header has been
// read, and the header's facts into header. Only trivially destructible locals here: a libjpeg
// error longjmps back to the setjmp.
Outcome Decompress(jpeg_decompress_struct& info, ErrorManager& errors, Bytes bytes,
                   const Request& request, Header& header, std::optional<Image>& image,
                   std::optional<std::vector<JSAMPLE>>& cmykRow) {
    if (setjmp(errors.jump)) return Outcome::Failed;

    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_save_markers(&info, JPEG_APP0 + 1, longestMarker);
    jpeg_read_header(&info, TRUE);  // TRUE: a file of tables only is an error
    if (!AcceptableSize(info.image_width, info.image_height)) return Outcome::Refused;
    header.width = static_cast<int>(info.image_width);
    header.height = static_cast<int>(info.image_height);
    header.exif = ReadFacts(info);
    if (jpeg_has_multiple_scans(&info)) {
        const std::uint64_t coefficients = static_cast<std::uint64_t>(info.image_width) *
                                           info.image_height * info.num_components *
                                           bytesPerCoefficient;
        if (coefficients > coefficientBytesAnyFile + bytes.size() * coefficientBytesPerFileByte) {
            return Outcome::Refused;
        }
    }

    switch (info.jpeg_color_space) {
    case JCS_GRAYSCALE:
    case JCS_RGB:
    case JCS_YCbCr:
        info.out_color_space = JCS_EXT_BGR;  // straight into the image's rows
        break;
    case JCS_CMYK:
    case JCS_YCCK:
        info.out_color_space = JCS_CMYK;  // libjpeg turns YCCK into CMYK
        break;
    default:
        return Outcome::Refused;
    }
    if (request.headerOnly) return Outcome::Decoded;  // all that was asked for
    ChooseScale(info, request, SwapsSides(header.exif.orientation));

    // Allocated before libjpeg's own buffers, while nothing of libjpeg can be left half done.
    try {
        image = AllocateImage(info.output_width, info.output_height, PixelFormat::Bgr24);
        if (image && info.out_color_space == JCS_CMYK) {
            cmykRow.emplace(static_cast<std::size_t>(info.output_width) * 4);
        }
    } catch (const std::bad_alloc&) {
        return Outcome::Failed;
    }
    if (!image) return Outcome::Refused;

    jpeg_start_decompress(&info);
    if (static_cast<int>(info.output_width) != image->width ||
        static_cast<int>(info.output_height) != image->height) {
        return Outcome::Failed;
    }

    if (cmykRow) {
        JSAMPROW row = cmykRow->data();
        while (info.output_scanline < info.output_height) {
            const int y = static_cast<int>(info.output_scanline);
            if (jpeg_read_scanlines(&info, &row, 1) != 1) return Outcome::Failed;
            CmykRowToBgr(row, image->Row(y), image->width);
        }
    } else {
        JSAMPROW rows[rowsPerCall];
        while (info.output_scanline < info.output_height) {
            const int first = static_cast<int>(info.output_scanline);
            const int count = static_cast<int>(info.output_height) - first < rowsPerCall
                                  ? static_cast<int>(info.output_height) - first
                                  : rowsPerCall;
            for (int i = 0; i < count; ++i) rows[i] = image->Row(first + i);
            if (jpeg_read_scanlines(&info, rows, static_cast<JDIMENSION>(count)) == 0) {
                return Outcome::Failed;
            }
        }
    }
    jpeg_finish_decompress(&info);
    return Outcome::Decoded;
}

// Sets a decompressor up, runs Decompress and cleans up after either way out. header gets the
// header's facts when the run succeeded. The image is as stored, with the resolution set.
std::optional<Image> Decode(Bytes bytes, const Request& request, std::optional<Header>& header) {
    // The shortest JPEG file is far longer; jpeg_mem_src takes an unsigned long length.
    if (bytes.size() < 4 || bytes.size() > ULONG_MAX) return std::nullopt;

    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.standard);
    errors.standard.error_exit = JumpOut;
    errors.standard.output_message = IgnoreMessage;
    errors.standard.emit_message = NoteWarning;
    jpeg_progress_mgr progress{};
    progress.progress_monitor = LimitScans;

    std::optional<Image> image;
    std::optional<std::vector<JSAMPLE>> cmykRow;
    if (setjmp(errors.jump)) {  // jpeg_create_decompress failed to allocate
        jpeg_destroy_decompress(&info);
        return std::nullopt;
    }
    jpeg_create_decompress(&info);
    info.progress = &progress;
    info.mem->max_memory_to_use = mostWorkingMemory;

    Header facts;
    const Outcome outcome = Decompress(info, errors, bytes, request, facts, image, cmykRow);
    jpeg_destroy_decompress(&info);
    if (outcome != Outcome::Decoded) return std::nullopt;
    header = facts;
    if (image) {
        image->complete = !errors.dataEnded;
        image->dpiX = facts.exif.dpiX;
        image->dpiY = facts.exif.dpiY;
    }
    return image;
}

// The decoded picture turned upright; as stored when the memory for turning it is not there.
std::optional<Image> DecodeUpright(Bytes bytes, const Request& request) {
    std::optional<Header> header;
    std::optional<Image> image = Decode(bytes, request, header);
    if (image) TurnUpright(*image, header->exif.orientation);
    return image;
}

}  // namespace

std::optional<Image> DecodeJpeg(Bytes bytes) { return DecodeUpright(bytes, wholePicture); }

std::optional<Image> DecodeJpegScaled(Bytes bytes, int atLeastWidth, int atLeastHeight) {
    return DecodeUpright(bytes, {false, atLeastWidth, atLeastHeight});
}

std::optional<PictureInfo> ReadJpegInfo(Bytes bytes) {
    std::optional<Header> header;
    Decode(bytes, headerAlone, header);
    if (!header) return std::nullopt;
    return UprightInfo(Kind::Jpeg, header->width, header->height, header->exif);
}

}  // namespace picture
