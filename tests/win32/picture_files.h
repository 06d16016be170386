// Small picture files made in the tests, byte by byte, and a canvas to draw them on and read
// the pixels back.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "picture/picture_object_win.h"
#include "ui/handles_win.h"

namespace testing_win {

// The tests' own table of pictures by handle.
inline picture::PictureTable& Pictures() {
    static picture::PictureTable table;
    return table;
}

using FileBytes = std::vector<std::uint8_t>;
using PixelColor = std::function<COLORREF(int x, int y)>;

inline void PutLe16(FileBytes& out, unsigned value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

inline void PutLe32(FileBytes& out, std::uint32_t value) {
    PutLe16(out, value & 0xFFFF);
    PutLe16(out, value >> 16);
}

inline void PutBgr(FileBytes& out, COLORREF color) {
    out.push_back(GetBValue(color));
    out.push_back(GetGValue(color));
    out.push_back(GetRValue(color));
}

// An uncompressed 24-bit BMP, stored bottom row first as most are.
inline FileBytes Bmp24(int width, int height, const PixelColor& color) {
    const std::uint32_t stride = (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
    const std::uint32_t pixelBytes = stride * static_cast<std::uint32_t>(height);
    FileBytes out{'B', 'M'};
    out.reserve(54 + pixelBytes);
    PutLe32(out, 54 + pixelBytes);
    PutLe32(out, 0);
    PutLe32(out, 54);
    PutLe32(out, 40);
    PutLe32(out, static_cast<std::uint32_t>(width));
    PutLe32(out, static_cast<std::uint32_t>(height));
    PutLe16(out, 1);
    PutLe16(out, 24);
    PutLe32(out, 0);
    PutLe32(out, pixelBytes);
    PutLe32(out, 2835);
    PutLe32(out, 2835);
    PutLe32(out, 0);
    PutLe32(out, 0);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) PutBgr(out, color(x, y));
        for (std::uint32_t pad = static_cast<std::uint32_t>(width) * 3; pad < stride; ++pad) {
            out.push_back(0);
        }
    }
    return out;
}

inline FileBytes SolidBmp(int width, int height, COLORREF color) {
    return Bmp24(width, height, [color](int, int) { return color; });
}

// GIF image data of 8-bit codes that are all literals: valid LZW that any decoder reads,
// without compressing anything.
inline FileBytes LiteralLzw(const std::vector<std::uint8_t>& indices) {
    constexpr unsigned minCodeSize = 8;
    constexpr unsigned clear = 1u << minCodeSize;
    constexpr unsigned end = clear + 1;
    FileBytes packed;
    std::uint32_t pending = 0;
    unsigned pendingBits = 0;
    unsigned codeSize = minCodeSize + 1;
    unsigned next = end + 1;
    bool first = true;
    const auto put = [&](unsigned code) {
        pending |= code << pendingBits;
        pendingBits += codeSize;
        while (pendingBits >= 8) {
            packed.push_back(static_cast<std::uint8_t>(pending & 0xFF));
            pending >>= 8;
            pendingBits -= 8;
        }
    };
    put(clear);
    for (std::uint8_t index : indices) {
        if (next >= 4000) {
            put(clear);
            codeSize = minCodeSize + 1;
            next = end + 1;
            first = true;
        }
        put(index);
        if (!first) {
            ++next;
            if (next >= (1u << codeSize) && codeSize < 12) ++codeSize;
        }
        first = false;
    }
    put(end);
    if (pendingBits > 0) packed.push_back(static_cast<std::uint8_t>(pending & 0xFF));

    FileBytes out{static_cast<std::uint8_t>(minCodeSize)};
    for (std::size_t at = 0; at < packed.size(); at += 255) {
        const std::size_t length = std::min<std::size_t>(255, packed.size() - at);
        out.push_back(static_cast<std::uint8_t>(length));
        out.insert(out.end(), packed.begin() + static_cast<std::ptrdiff_t>(at),
                   packed.begin() + static_cast<std::ptrdiff_t>(at + length));
    }
    out.push_back(0);
    return out;
}

struct GifFrame {
    std::vector<std::uint8_t> indices;  // width × height, top row first
    int delayCentiseconds = 0;
};

// A GIF89a whose frames each cover the whole screen, with a 256-entry global palette.
inline FileBytes Gif(int width, int height, const std::vector<COLORREF>& palette,
                     const std::vector<GifFrame>& frames) {
    FileBytes out{'G', 'I', 'F', '8', '9', 'a'};
    PutLe16(out, static_cast<unsigned>(width));
    PutLe16(out, static_cast<unsigned>(height));
    out.push_back(0xF7);  // a global table of 256 entries
    out.push_back(0);
    out.push_back(0);
    for (int i = 0; i < 256; ++i) {
        const COLORREF color = i < static_cast<int>(palette.size()) ? palette[i] : 0;
        out.push_back(GetRValue(color));
        out.push_back(GetGValue(color));
        out.push_back(GetBValue(color));
    }
    for (const GifFrame& frame : frames) {
        out.insert(out.end(), {0x21, 0xF9, 0x04, 0x04});  // graphic control: keep the frame
        PutLe16(out, static_cast<unsigned>(frame.delayCentiseconds));
        out.insert(out.end(), {0x00, 0x00});
        out.push_back(0x2C);
        PutLe16(out, 0);
        PutLe16(out, 0);
        PutLe16(out, static_cast<unsigned>(width));
        PutLe16(out, static_cast<unsigned>(height));
        out.push_back(0);
        const FileBytes data = LiteralLzw(frame.indices);
        out.insert(out.end(), data.begin(), data.end());
    }
    out.push_back(0x3B);
    return out;
}

inline FileBytes PcxHeader(int version, int bitsPerPixel, int width, int height,
                           unsigned bytesPerLine) {
    FileBytes out(128, 0);
    out[0] = 0x0A;
    out[1] = static_cast<std::uint8_t>(version);
    out[2] = 1;
    out[3] = static_cast<std::uint8_t>(bitsPerPixel);
    out[8] = static_cast<std::uint8_t>((width - 1) & 0xFF);
    out[9] = static_cast<std::uint8_t>((width - 1) >> 8);
    out[10] = static_cast<std::uint8_t>((height - 1) & 0xFF);
    out[11] = static_cast<std::uint8_t>((height - 1) >> 8);
    out[65] = 1;
    out[66] = static_cast<std::uint8_t>(bytesPerLine & 0xFF);
    out[67] = static_cast<std::uint8_t>(bytesPerLine >> 8);
    out[68] = 1;
    return out;
}

// Every byte as a run of one, which PCX allows for any value.
inline void PutPcxRow(FileBytes& out, const std::vector<std::uint8_t>& row) {
    for (std::uint8_t value : row) {
        out.push_back(0xC1);
        out.push_back(value);
    }
}

// An 8-bit PCX with its palette at the end of the file.
inline FileBytes Pcx8(int width, int height, const std::vector<COLORREF>& palette,
                      const std::vector<std::uint8_t>& indices) {
    const unsigned bytesPerLine = static_cast<unsigned>(width + (width & 1));
    FileBytes out = PcxHeader(5, 8, width, height, bytesPerLine);
    for (int y = 0; y < height; ++y) {
        std::vector<std::uint8_t> row(bytesPerLine, 0);
        for (int x = 0; x < width; ++x) row[x] = indices[static_cast<std::size_t>(y * width + x)];
        PutPcxRow(out, row);
    }
    out.push_back(0x0C);
    for (int i = 0; i < 256; ++i) {
        const COLORREF color = i < static_cast<int>(palette.size()) ? palette[i] : 0;
        out.push_back(GetRValue(color));
        out.push_back(GetGValue(color));
        out.push_back(GetBValue(color));
    }
    return out;
}

// A 1-bit PCX: bits set where on(x, y) holds, palette entries 0 and 1 in the header.
inline FileBytes Pcx1(int width, int height, COLORREF zero, COLORREF one,
                      const std::function<bool(int, int)>& on) {
    unsigned bytesPerLine = static_cast<unsigned>((width + 7) / 8);
    bytesPerLine += bytesPerLine & 1;
    FileBytes out = PcxHeader(3, 1, width, height, bytesPerLine);
    const COLORREF entries[2] = {zero, one};
    for (int i = 0; i < 2; ++i) {
        out[16 + 3 * i] = GetRValue(entries[i]);
        out[17 + 3 * i] = GetGValue(entries[i]);
        out[18 + 3 * i] = GetBValue(entries[i]);
    }
    for (int y = 0; y < height; ++y) {
        std::vector<std::uint8_t> row(bytesPerLine, 0);
        for (int x = 0; x < width; ++x) {
            if (on(x, y)) row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
        PutPcxRow(out, row);
    }
    return out;
}

// An icon (type 1) or cursor (type 2) file with one 32-bit image of one opaque colour.
inline FileBytes SolidIconFile(int type, int size, COLORREF color) {
    const std::uint32_t maskStride = static_cast<std::uint32_t>((size + 31) / 32 * 4);
    const std::uint32_t imageBytes = 40 + static_cast<std::uint32_t>(size * size * 4) +
                                     maskStride * static_cast<std::uint32_t>(size);
    FileBytes out;
    PutLe16(out, 0);
    PutLe16(out, static_cast<unsigned>(type));
    PutLe16(out, 1);
    out.push_back(static_cast<std::uint8_t>(size));
    out.push_back(static_cast<std::uint8_t>(size));
    out.push_back(0);
    out.push_back(0);
    PutLe16(out, type == 1 ? 1 : 0);   // planes, or the hot spot's x for a cursor
    PutLe16(out, type == 1 ? 32 : 0);  // bit count, or the hot spot's y
    PutLe32(out, imageBytes);
    PutLe32(out, 22);
    PutLe32(out, 40);
    PutLe32(out, static_cast<std::uint32_t>(size));
    PutLe32(out, static_cast<std::uint32_t>(size * 2));
    PutLe16(out, 1);
    PutLe16(out, 32);
    PutLe32(out, 0);
    PutLe32(out, imageBytes - 40);
    for (int i = 0; i < 4; ++i) PutLe32(out, 0);
    for (int i = 0; i < size * size; ++i) {
        PutBgr(out, color);
        out.push_back(0xFF);
    }
    out.insert(out.end(), maskStride * static_cast<std::uint32_t>(size), 0);
    return out;
}

// Three pixels in a row, RGBA: red with alpha 0, blue with alpha 255, green with alpha 128.
inline const FileBytes& ThreeAlphaPng() {
    static const FileBytes png{
        0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44,
        0x52, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x01, 0x08, 0x06, 0x00, 0x00, 0x00, 0x1B,
        0xE0, 0x14, 0xB4, 0x00, 0x00, 0x00, 0x13, 0x49, 0x44, 0x41, 0x54, 0x78, 0xDA, 0x63, 0xF8,
        0xCF, 0x00, 0x02, 0xFF, 0xFF, 0x33, 0xFC, 0x67, 0x68, 0x00, 0x00, 0x1A, 0x73, 0x04, 0x7D,
        0x2D, 0xCF, 0x60, 0x94, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60,
        0x82};
    return png;
}

// A memory DC over a 32-bit top-down DIB whose pixels the test can read.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill) : width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        const ui::WindowDc screen(nullptr);
        dc_.reset(CreateCompatibleDC(screen.get()));
        bitmap_.reset(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits_, nullptr, 0));
        select_ = std::make_unique<ui::SelectObjectScope>(dc_.get(), bitmap_.get());
        Fill(fill);
    }

    HDC dc() const { return dc_.get(); }
    bool Valid() const { return dc_ && bitmap_ && bits_ != nullptr; }

    void Fill(COLORREF color) {
        const RECT all{0, 0, width_, height_};
        const ui::Brush brush(CreateSolidBrush(color));
        FillRect(dc_.get(), &all, brush.get());
    }

    COLORREF Pixel(int x, int y) const {
        GdiFlush();
        const auto* pixel = static_cast<const std::uint8_t*>(bits_) +
                            (static_cast<std::size_t>(y) * width_ + x) * 4;
        return RGB(pixel[2], pixel[1], pixel[0]);
    }

private:
    int width_;
    int height_;
    ui::MemoryDc dc_;
    ui::Bitmap bitmap_;
    void* bits_ = nullptr;
    std::unique_ptr<ui::SelectObjectScope> select_;
};

}  // namespace testing_win
