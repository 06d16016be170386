#include "picture/render_win.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "picture/alpha_over.h"
#include "ui/handles_win.h"

namespace picture {
namespace {

constexpr COLORREF white = RGB(255, 255, 255);
constexpr int highColourBits = 16;

// A BITMAPINFO with room for a whole palette.
struct DibHeader {
    BITMAPINFOHEADER header{};
    RGBQUAD colors[256]{};
    const BITMAPINFO* get() const { return reinterpret_cast<const BITMAPINFO*>(this); }
};

// The image's rows as Windows reads a top-down DIB (a negative height).
DibHeader DescribeDib(const Image& image, WORD bitCount) {
    DibHeader dib;
    dib.header.biSize = sizeof dib.header;
    dib.header.biWidth = image.width;
    dib.header.biHeight = -image.height;
    dib.header.biPlanes = 1;
    dib.header.biBitCount = bitCount;
    dib.header.biCompression = BI_RGB;
    if (bitCount <= 8) {
        const int entries = 1 << bitCount;
        dib.header.biClrUsed = static_cast<DWORD>(entries);
        std::memcpy(dib.colors, image.palette.data(), sizeof(RGBQUAD) * entries);
    }
    return dib;
}

bool Drawable(const Image& image) {
    return image.width > 0 && image.height > 0 &&
           image.pixels.size() >= image.Stride() * static_cast<std::size_t>(image.height);
}

// Sets the stretch mode pictures are drawn with, and puts the DC's own back at the end. One-bit
// pictures (scanned and faxed pages) are stretched black-dominant: enlarged, each pixel is
// repeated; made smaller, a black pixel wins over the white ones it is merged with, so that thin
// strokes stay whole and sharp instead of being smoothed into grey.
class StretchModeScope {
public:
    explicit StretchModeScope(HDC dc, PixelFormat format = PixelFormat::Bgr24)
        : dc_(dc),
          previous_(SetStretchBltMode(
              dc, format == PixelFormat::Mono1 ? BLACKONWHITE : PictureStretchMode())) {
        // HALFTONE leaves the brush origin undefined; Windows asks for it to be set again.
        if (GetStretchBltMode(dc) == HALFTONE) originSet_ = SetBrushOrgEx(dc, 0, 0, &origin_) != 0;
    }
    StretchModeScope(const StretchModeScope&) = delete;
    StretchModeScope& operator=(const StretchModeScope&) = delete;
    ~StretchModeScope() {
        if (previous_ != 0) SetStretchBltMode(dc_, previous_);
        if (originSet_) SetBrushOrgEx(dc_, origin_.x, origin_.y, nullptr);
    }

private:
    HDC dc_;
    int previous_;
    POINT origin_{};
    bool originSet_ = false;
};

struct Area {
    int x, y, width, height;
};

bool IsPrinter(HDC dc) {
    const int technology = GetDeviceCaps(dc, TECHNOLOGY);
    return technology == DT_RASPRINTER || technology == DT_PLOTTER;
}

// A printer driver copies and encodes whatever one call hands it, several times its size: a
// large picture goes to a printer in bands of rows, each stretched onto its share of the area.
// A band is also one step of a print job, and Wine's PostScript driver takes about 25 ms a
// megabyte: bands of a megabyte keep the message loop answering between steps.
constexpr std::size_t printerBandBytes = 1u * 1024 * 1024;

WORD BitsPerPixel(PixelFormat format) {
    switch (format) {
    case PixelFormat::Bgr24: return 24;
    case PixelFormat::Bgra32: return 32;
    case PixelFormat::Indexed8: return 8;
    case PixelFormat::Mono1: return 1;
    }
    return 32;
}

// DIB rows are padded to 4 bytes, as the image's and the composited copy's rows are.
std::size_t DibRowBytes(int width, WORD bitCount) {
    return (static_cast<std::size_t>(width) * bitCount + 31) / 32 * 4;
}

int BandRows(HDC dc, int width, int height, WORD bitCount) {
    if (!IsPrinter(dc)) return std::max(1, height);
    return static_cast<int>(
        std::max<std::size_t>(1, printerBandBytes / DibRowBytes(width, bitCount)));
}

int BandRows(HDC dc, const Image& image, WORD bitCount) {
    return BandRows(dc, image.width, image.height, bitCount);
}

// Draws the rows of one band, or of every band when band is allBands.
constexpr int allBands = -1;

void StretchDib(HDC dc, const Image& image, const void* bits, WORD bitCount, Area to, DWORD rop,
                int band) {
    DibHeader dib = DescribeDib(image, bitCount);
    const std::size_t rowBytes = DibRowBytes(image.width, bitCount);
    const int bandRows = BandRows(dc, image, bitCount);
    for (int first = 0; first < image.height; first += bandRows) {
        if (band != allBands && first / bandRows != band) continue;
        const int rows = std::min(bandRows, image.height - first);
        const int top = to.y + static_cast<int>(static_cast<std::int64_t>(to.height) * first /
                                                image.height);
        const int bottom = to.y + static_cast<int>(static_cast<std::int64_t>(to.height) *
                                                   (first + rows) / image.height);
        dib.header.biHeight = -rows;
        StretchDIBits(dc, to.x, top, to.width, bottom - top, 0, 0, image.width, rows,
                      static_cast<const std::uint8_t*>(bits) + rowBytes * first, dib.get(),
                      DIB_RGB_COLORS, rop);
    }
}

// Copies a bitmap made for the target DC onto it.
void StretchBitmap(HDC dc, HBITMAP bitmap, const Image& image, Area to, DWORD rop) {
    ui::MemoryDc source(CreateCompatibleDC(dc));
    if (!source) return;
    ui::SelectObjectScope select(source.get(), bitmap);
    StretchBlt(dc, to.x, to.y, to.width, to.height, source.get(), 0, 0, image.width, image.height,
               rop);
}

void DrawPixels(HDC dc, const Image& image, Kind kind, Area to, DWORD rop, COLORREF background,
                int band) {
    switch (image.format) {
    case PixelFormat::Bgr24:
        StretchDib(dc, image, image.pixels.data(), 24, to, rop, band);
        return;
    case PixelFormat::Bgra32: {
        // Each band lays its own rows over the background: a whole copy of a large picture
        // would be made again for every band.
        if (band == allBands) {
            const std::vector<std::uint8_t> opaque = CompositeOver(image, background);
            if (!opaque.empty()) StretchDib(dc, image, opaque.data(), 32, to, rop, band);
            return;
        }
        const int rows = BandRows(dc, image, 32);
        Image part;
        part.width = image.width;
        part.format = image.format;
        part.height = std::min(rows, image.height - band * rows);
        if (part.height <= 0) return;
        const auto* first = image.Row(band * rows);
        part.pixels.assign(first, first + image.Stride() * static_cast<std::size_t>(part.height));
        const std::vector<std::uint8_t> opaque = CompositeOver(part, background);
        if (opaque.empty()) return;
        const int top = to.y + static_cast<int>(static_cast<std::int64_t>(to.height) * band * rows /
                                                image.height);
        const int bottom = to.y + static_cast<int>(static_cast<std::int64_t>(to.height) *
                                                   (band * rows + part.height) / image.height);
        StretchDib(dc, part, opaque.data(), 32, {to.x, top, to.width, bottom - top}, rop, allBands);
        return;
    }
    case PixelFormat::Indexed8:
        if (kind != Kind::Gif) {
            StretchDib(dc, image, image.pixels.data(), 8, to, rop, band);
            return;
        }
        if (band > 0) return;
        {
            // GIF colours are settled once, in a bitmap of the target's own format.
            const DibHeader dib = DescribeDib(image, 8);
            const ui::Bitmap bitmap(CreateDIBitmap(dc, &dib.header, CBM_INIT, image.pixels.data(),
                                                   dib.get(), DIB_RGB_COLORS));
            if (bitmap) StretchBitmap(dc, bitmap.get(), image, to, rop);
        }
        return;
    case PixelFormat::Mono1:
        // Drawn with the picture's own two colours: through a monochrome bitmap they would come
        // from the DC's text and background colours, which on the printer are both white.
        StretchDib(dc, image, image.pixels.data(), 1, to, rop, band);
        return;
    }
}

// DrawIconEx onto a printer never returns under Wine, and printer drivers treat icon masks
// unevenly anyway: the icon is laid over white paper in a screen bitmap, which is then copied.
void DrawIconOnPaper(HDC dc, HICON icon, int width, int height, Area to) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const ui::WindowDc screen(nullptr);
    void* bits = nullptr;
    const ui::Bitmap bitmap(
        CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const ui::MemoryDc memory(CreateCompatibleDC(screen.get()));
    if (!bitmap || !memory) return;
    const ui::SelectObjectScope select(memory.get(), bitmap.get());
    PatBlt(memory.get(), 0, 0, width, height, WHITENESS);
    DrawIconEx(memory.get(), 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
    StretchBlt(dc, to.x, to.y, to.width, to.height, memory.get(), 0, 0, width, height, SRCCOPY);
}

}  // namespace

int PictureStretchMode() {
    DEVMODEW mode{};
    mode.dmSize = sizeof mode;
    int bits = 0;
    if (EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode)) {
        bits = static_cast<int>(mode.dmBitsPerPel);
    } else {
        const ui::WindowDc screen(nullptr);
        bits = GetDeviceCaps(screen.get(), BITSPIXEL);
    }
    return bits > highColourBits ? HALFTONE : COLORONCOLOR;
}

void RenderImage(HDC dc, const Image& image, Kind kind, int x, int y, int width, int height,
                 DWORD rop, std::optional<COLORREF> background) {
    if (dc == nullptr || !Drawable(image)) return;
    const Area to{x, y, width == -1 ? image.width : width, height == -1 ? image.height : height};
    const StretchModeScope stretch(dc, image.format);
    DrawPixels(dc, image, kind, to, rop, background.value_or(white), allBands);
}

int RenderBandCount(HDC dc, Kind kind, PixelFormat format, int width, int height) {
    if (width <= 0 || height <= 0) return 1;
    if (format == PixelFormat::Indexed8 && kind == Kind::Gif) return 1;
    const int rows = BandRows(dc, width, height, BitsPerPixel(format));
    return (height + rows - 1) / rows;
}

int RenderBandCount(HDC dc, const PictureObject& picture) {
    const Image* image = picture.Pixels();
    if (image == nullptr || !Drawable(*image)) return 1;
    return RenderBandCount(dc, picture.GetKind(), image->format, image->width, image->height);
}

void RenderImageBand(HDC dc, const Image& image, Kind kind, int x, int y, int width, int height,
                     DWORD rop, int band) {
    if (dc == nullptr || !Drawable(image)) return;
    const StretchModeScope stretch(dc, image.format);
    DrawPixels(dc, image, kind, {x, y, width, height}, rop, white, band);
}

void RenderPictureBand(HDC dc, const PictureObject& picture, int x, int y, int width, int height,
                       DWORD rop, int band) {
    if (dc == nullptr) return;
    const Image* image = picture.Pixels();
    if (image == nullptr) {
        if (band == 0) RenderPicture(dc, picture, x, y, width, height, rop);
        return;
    }
    RenderImageBand(dc, *image, picture.GetKind(), x, y, width, height, rop, band);
}

void RenderPicture(HDC dc, const PictureObject& picture, int x, int y, int width, int height,
                   DWORD rop, std::optional<COLORREF> background) {
    if (dc == nullptr) return;
    if (const Image* image = picture.Pixels()) {
        RenderImage(dc, *image, picture.GetKind(), x, y, width, height, rop, background);
        return;
    }
    if (HICON icon = picture.IconHandle()) {
        const Area to{x, y, width == -1 ? picture.Width() : width,
                      height == -1 ? picture.Height() : height};
        const StretchModeScope stretch(dc);
        if (IsPrinter(dc)) {
            DrawIconOnPaper(dc, icon, picture.Width(), picture.Height(), to);
        } else {
            DrawIconEx(dc, to.x, to.y, icon, to.width, to.height, 0, nullptr, DI_NORMAL);
        }
    }
}

}  // namespace picture
