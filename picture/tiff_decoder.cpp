// TIFF pictures, every page (image directory) of a file, read by libtiff from the bytes in memory.
// libtiff's RGBA reader turns what the page stores (strips or tiles; bilevel, grey, palette, RGB,
// CMYK, YCbCr; 1 to 16 bits a sample; with or without alpha) into colours, in bands of rows so
// that no second full-size copy of a page is held. The rows come as stored; the Orientation tag
// then turns the page upright as an EXIF orientation would.
//
// A bilevel page (one sample of one bit: a scan or a fax) becomes Mono1 with black at index 0,
// which is not averaged when made smaller and is drawn black-dominant (see picture/render_win.cpp),
// so that its strokes stay sharp; kept in strips, as faxes are, its rows are read as stored rather
// than through colours. A page with alpha becomes Bgra32 (not premultiplied), any other page Bgr24.
//
// libtiff's messages are silenced: a page it cannot read is refused quietly. It guards itself
// against directory loops; files of more than largestTiffPageCount pages are read that far.
#include <tiffio.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>

#include "picture/decoders.h"
#include "picture/exif.h"
#include "picture/turn_and_crop.h"

namespace picture {
namespace {

// The bytes as libtiff reads a file.
struct Source {
    Bytes bytes;
    toff_t at = 0;
};

tmsize_t Read(thandle_t handle, void* buffer, tmsize_t size) {
    auto* source = static_cast<Source*>(handle);
    if (size <= 0 || source->at >= source->bytes.size()) return 0;
    const std::size_t count =
        std::min<std::size_t>(static_cast<std::size_t>(size), source->bytes.size() - source->at);
    std::memcpy(buffer, source->bytes.data() + source->at, count);
    source->at += count;
    return static_cast<tmsize_t>(count);
}
tmsize_t Write(thandle_t, void*, tmsize_t) { return 0; }
toff_t Seek(thandle_t handle, toff_t offset, int whence) {
    auto* source = static_cast<Source*>(handle);
    toff_t base = 0;
    if (whence == SEEK_CUR) base = source->at;
    if (whence == SEEK_END) base = source->bytes.size();
    // Offsets are unsigned: a negative step wraps round, and one past the end is refused later.
    source->at = base + offset;
    return source->at;
}
int Close(thandle_t) { return 0; }
toff_t Size(thandle_t handle) { return static_cast<Source*>(handle)->bytes.size(); }
// The bytes are handed over as a mapped file: libtiff reads them in place (it only reads what
// is opened for reading), and 4.5 reads uncompressed tiles only so.
int Map(thandle_t handle, void** base, toff_t* size) {
    const Bytes bytes = static_cast<Source*>(handle)->bytes;
    *base = const_cast<std::uint8_t*>(bytes.data());
    *size = bytes.size();
    return 1;
}
void Unmap(thandle_t, void*, toff_t) {}

int Quiet(TIFF*, void*, const char*, const char*, va_list) { return 1; }

struct CloseTiff {
    void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};
using TiffHandle = std::unique_ptr<TIFF, CloseTiff>;

// Opens the bytes as a TIFF file on its first page; null when libtiff refuses them.
TiffHandle Open(Source& source) {
    static std::once_flag silenced;
    std::call_once(silenced, [] {
        TIFFSetErrorHandler(nullptr);
        TIFFSetWarningHandler(nullptr);
    });
    if (RecognizeKind(source.bytes) != Kind::Tiff) return nullptr;
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (options == nullptr) return nullptr;
    TIFFOpenOptionsSetErrorHandlerExtR(options, Quiet, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options, Quiet, nullptr);
    // No single buffer beyond the largest picture's (a strip or a tile of it).
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, static_cast<tmsize_t>(largestPixelCount * 4));
    TiffHandle tiff(TIFFClientOpenExt("", "r", &source, Read, Write, Seek, Close, Size, Map,
                                      Unmap, options));
    TIFFOpenOptionsFree(options);
    return tiff;
}

// What the current page's tags say, checked before any pixel is read.
struct PageFacts {
    int width = 0;
    int height = 0;
    int orientation = 1;
    bool bilevel = false;
    bool whiteIsZero = false;  // of a bilevel page: 0 bits are white (as faxes store them)
    double dpiX = 0;
    double dpiY = 0;
};

std::optional<PageFacts> ReadFacts(TIFF* tiff) {
    std::uint32_t width = 0, height = 0;
    if (!TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width) ||
        !TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height) || !AcceptableSize(width, height)) {
        return std::nullopt;
    }
    char message[1024];
    if (!TIFFRGBAImageOK(tiff, message)) return std::nullopt;
    PageFacts facts;
    facts.width = static_cast<int>(width);
    facts.height = static_cast<int>(height);
    std::uint16_t orientation = 1, bits = 1, samples = 1, photometric = 0;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_ORIENTATION, &orientation);
    facts.orientation = orientation >= 1 && orientation <= 8 ? orientation : 1;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric);
    facts.bilevel = bits == 1 && samples == 1 &&
                    (photometric == PHOTOMETRIC_MINISWHITE || photometric == PHOTOMETRIC_MINISBLACK);
    facts.whiteIsZero = photometric == PHOTOMETRIC_MINISWHITE;
    float x = 0, y = 0;
    std::uint16_t unit = RESUNIT_INCH;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_RESOLUTIONUNIT, &unit);
    const double perInch = unit == RESUNIT_INCH ? 1 : unit == RESUNIT_CENTIMETER ? 2.54 : 0;
    if (perInch > 0 && TIFFGetField(tiff, TIFFTAG_XRESOLUTION, &x) &&
        TIFFGetField(tiff, TIFFTAG_YRESOLUTION, &y)) {
        facts.dpiX = SensibleDpi(x * perInch);
        facts.dpiY = SensibleDpi(y * perInch);
    }
    return facts;
}

PictureInfo InfoOf(const PageFacts& facts, int page) {
    PictureInfo info =
        UprightInfo(Kind::Tiff, facts.width, facts.height, {facts.orientation, facts.dpiX, facts.dpiY});
    info.page = page;
    return info;
}

struct EndRgba {
    void operator()(TIFFRGBAImage* reader) const { TIFFRGBAImageEnd(reader); }
};

// One RGBA colour (libtiff's packing: red in the low byte) into the image's pixel at x.
void Put(Image& image, std::uint8_t* row, int x, std::uint32_t rgba, bool premultiplied) {
    const std::uint8_t r = TIFFGetR(rgba), g = TIFFGetG(rgba), b = TIFFGetB(rgba), a = TIFFGetA(rgba);
    switch (image.format) {
    case PixelFormat::Mono1:
        if (r + 2 * g + b >= 4 * 128) row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        break;
    case PixelFormat::Bgr24:
        row[3 * x] = b, row[3 * x + 1] = g, row[3 * x + 2] = r;
        break;
    default: {
        const auto straight = [&](std::uint8_t c) {
            return premultiplied && a != 0 ? static_cast<std::uint8_t>(std::min(255, c * 255 / a)) : c;
        };
        row[4 * x] = straight(b), row[4 * x + 1] = straight(g), row[4 * x + 2] = straight(r);
        row[4 * x + 3] = a;
    }
    }
}

// A bilevel page kept in strips, read a row at a time straight into the image's rows: the bits as
// stored, with black at 0 (libtiff has put them in the usual bit order). False when a row cannot be
// read; tiled pages are left to the RGBA reader.
bool ReadBilevelRows(TIFF* tiff, const PageFacts& facts, Image& image) {
    if (TIFFIsTiled(tiff) || TIFFScanlineSize64(tiff) != (static_cast<std::uint64_t>(facts.width) + 7) / 8) {
        return false;
    }
    const std::size_t rowBytes = (static_cast<std::size_t>(facts.width) + 7) / 8;
    for (int y = 0; y < facts.height; ++y) {
        std::uint8_t* row = image.Row(y);
        if (TIFFReadScanline(tiff, row, static_cast<std::uint32_t>(y), 0) < 0) return false;
        if (facts.whiteIsZero) {
            for (std::size_t i = 0; i < rowBytes; ++i) row[i] = static_cast<std::uint8_t>(~row[i]);
        }
    }
    return true;
}

// The current page's pixels, upright; nullopt when they cannot be read or held.
std::optional<Image> DecodePage(TIFF* tiff) {
    const std::optional<PageFacts> facts = ReadFacts(tiff);
    if (!facts) return std::nullopt;
    TIFFRGBAImage reader{};
    char message[1024];
    if (!TIFFRGBAImageBegin(&reader, tiff, 0, message)) return std::nullopt;
    const std::unique_ptr<TIFFRGBAImage, EndRgba> end(&reader);
    const PixelFormat format = facts->bilevel ? PixelFormat::Mono1
                               : reader.alpha != 0 ? PixelFormat::Bgra32
                                                   : PixelFormat::Bgr24;
    auto image = AllocateImage(facts->width, facts->height, format);
    if (!image) return std::nullopt;
    if (format == PixelFormat::Mono1) {
        image->palette[0] = 0x000000;
        image->palette[1] = 0xFFFFFF;
        image->paletteSize = 2;
        if (ReadBilevelRows(tiff, *facts, *image)) {
            image->dpiX = facts->dpiX;
            image->dpiY = facts->dpiY;
            TurnUpright(*image, facts->orientation);
            return image;
        }
        // Rows already put in place are read again by the RGBA reader, which adds to them.
        std::fill(image->pixels.begin(), image->pixels.end(), std::uint8_t{0});
    }
    // Rows as stored, top first: the orientation is applied afterwards, as a whole.
    reader.req_orientation = reader.orientation;
    // Bands of about 4 MB, whole strips or tiles so that none is decoded twice.
    std::uint32_t unit = 0;
    if (TIFFIsTiled(tiff)) {
        TIFFGetField(tiff, TIFFTAG_TILELENGTH, &unit);
    } else {
        TIFFGetFieldDefaulted(tiff, TIFFTAG_ROWSPERSTRIP, &unit);
    }
    const int width = facts->width, height = facts->height;
    const std::uint32_t wanted = std::max(1, (1 << 20) / width);
    unit = std::clamp<std::uint32_t>(unit, 1, static_cast<std::uint32_t>(height));
    const auto bandRows =
        static_cast<int>(std::min<std::uint64_t>((wanted + unit - 1) / unit * unit, height));
    std::vector<std::uint32_t> band;
    try {
        band.resize(static_cast<std::size_t>(width) * bandRows);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    const bool premultiplied = reader.alpha == EXTRASAMPLE_ASSOCALPHA;
    for (int top = 0; top < height; top += bandRows) {
        const int rows = std::min(bandRows, height - top);
        reader.row_offset = top;
        reader.col_offset = 0;
        if (!TIFFRGBAImageGet(&reader, band.data(), width, rows)) return std::nullopt;
        for (int y = 0; y < rows; ++y) {
            std::uint8_t* row = image->Row(top + y);
            const std::uint32_t* from = band.data() + static_cast<std::size_t>(y) * width;
            for (int x = 0; x < width; ++x) Put(*image, row, x, from[x], premultiplied);
        }
    }
    image->dpiX = facts->dpiX;
    image->dpiY = facts->dpiY;
    TurnUpright(*image, facts->orientation);
    return image;
}

// Steps to the next page; false after the last one or largestTiffPageCount.
bool NextPage(TIFF* tiff, int& page) {
    if (page + 1 >= largestTiffPageCount || !TIFFReadDirectory(tiff)) return false;
    ++page;
    return true;
}

// What read gives for each page of the file, in order, up to the first it gives nothing for.
template <typename T, typename Read>
std::vector<T> EachPage(Bytes bytes, Read read) {
    std::vector<T> pages;
    Source source{bytes};
    const TiffHandle tiff = Open(source);
    if (!tiff) return pages;
    int page = 0;
    do {
        std::optional<T> one = read(tiff.get(), page);
        if (!one) break;
        pages.push_back(std::move(*one));
    } while (NextPage(tiff.get(), page));
    return pages;
}

}  // namespace

std::optional<Image> DecodeTiff(Bytes bytes, int page) {
    Source source{bytes};
    const TiffHandle tiff = Open(source);
    if (!tiff || page < 0 || page >= largestTiffPageCount ||
        !TIFFSetDirectory(tiff.get(), static_cast<tdir_t>(page))) {
        return std::nullopt;
    }
    return DecodePage(tiff.get());
}

std::vector<Image> DecodeTiffPages(Bytes bytes) {
    return EachPage<Image>(bytes, [](TIFF* tiff, int) { return DecodePage(tiff); });
}

std::vector<PictureInfo> ReadTiffPages(Bytes bytes) {
    return EachPage<PictureInfo>(bytes, [](TIFF* tiff, int page) -> std::optional<PictureInfo> {
        const std::optional<PageFacts> facts = ReadFacts(tiff);
        if (!facts) return std::nullopt;
        return InfoOf(*facts, page);
    });
}

std::optional<PictureInfo> ReadTiffInfo(Bytes bytes) {
    Source source{bytes};
    const TiffHandle tiff = Open(source);
    if (!tiff) return std::nullopt;
    const std::optional<PageFacts> facts = ReadFacts(tiff.get());
    if (!facts) return std::nullopt;
    return InfoOf(*facts, 0);
}

}  // namespace picture
