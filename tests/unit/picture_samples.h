// Picture files built byte by byte for the decoder tests and the fuzzing seeds.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <utility>
#include <vector>

// AddressSanitizer's; null without it.
extern "C" [[gnu::weak]] int __sanitizer_install_malloc_and_free_hooks(
    void (*)(const volatile void*, std::size_t), void (*)(const volatile void*));
extern "C" [[gnu::weak]] std::size_t __sanitizer_get_allocated_size(const volatile void*);

namespace samples {

// The most heap memory that run() held at once, the libraries' too; -1 without AddressSanitizer.
// One function for every caller: AddressSanitizer keeps only a few hooks.
inline long long PeakHeapGrowth(const std::function<void()>& run) {
    static long long held = 0, most = -1;
    static const bool hooked = __sanitizer_install_malloc_and_free_hooks &&
        __sanitizer_install_malloc_and_free_hooks(
            [](const volatile void*, std::size_t n) { most = std::max(most, held += n); },
            [](const volatile void* p) { held -= p ? __sanitizer_get_allocated_size(p) : 0; });
    held = most = 0;
    run();
    return hooked ? std::exchange(most, -1) : -1;
}

using Bytes = std::vector<std::uint8_t>;
using Rgb = std::array<std::uint8_t, 3>;

inline void Put16(Bytes& out, unsigned v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void Put32(Bytes& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}
inline void Set32(Bytes& out, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// pixel(x, y) with y = 0 the top row: a palette index up to 8 bits, else 0xRRGGBB.
using PixelAt = std::function<std::uint32_t(int x, int y)>;

inline Bytes Bmp(int width, int height, int bitCount, const std::vector<Rgb>& palette,
                 const PixelAt& pixel, bool topDown = false, std::uint32_t headerSize = 40) {
    Bytes out{'B', 'M'};
    Put32(out, 0);  // file size, filled in below
    Put32(out, 0);
    const std::uint32_t pixelOffset =
        14 + headerSize + 4 * static_cast<std::uint32_t>(palette.size());
    Put32(out, pixelOffset);
    Put32(out, headerSize);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(topDown ? -height : height));
    Put16(out, 1);
    Put16(out, static_cast<unsigned>(bitCount));
    Put32(out, 0);  // no compression
    Put32(out, 0);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, static_cast<std::uint32_t>(palette.size()));
    Put32(out, 0);
    out.resize(14 + headerSize, 0);
    for (const Rgb& c : palette) out.insert(out.end(), {c[2], c[1], c[0], 0});
    const std::size_t stride = ((static_cast<std::size_t>(width) * bitCount + 31) / 32) * 4;
    for (int i = 0; i < height; ++i) {
        const int y = topDown ? i : height - 1 - i;
        Bytes row(stride, 0);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t v = pixel(x, y);
            if (bitCount <= 8) {
                const int bit = x * bitCount;
                row[bit / 8] |= static_cast<std::uint8_t>(v << (8 - bitCount - bit % 8));
            } else {
                const std::size_t at = static_cast<std::size_t>(x) * (bitCount / 8);
                row[at] = static_cast<std::uint8_t>(v);
                row[at + 1] = static_cast<std::uint8_t>(v >> 8);
                row[at + 2] = static_cast<std::uint8_t>(v >> 16);
                if (bitCount == 32) row[at + 3] = 0x5A;  // not alpha, and must not show up
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    Set32(out, 2, static_cast<std::uint32_t>(out.size()));
    return out;
}

// GIF LZW as encoders write it: the code size grows after the code that used up its range;
// with clearWhenFull false the full table is kept and 12-bit codes go on without new entries.
inline Bytes LzwEncode(const Bytes& pixels, int minCodeSize, bool clearWhenFull = true) {
    Bytes out;
    std::uint32_t bitBuffer = 0;
    int bitCount = 0;
    const int clear = 1 << minCodeSize;
    int bits = minCodeSize + 1;
    int next = clear + 2;
    std::map<std::pair<int, int>, int> table;
    auto emit = [&](int code) {
        bitBuffer |= static_cast<std::uint32_t>(code) << bitCount;
        bitCount += bits;
        for (; bitCount >= 8; bitCount -= 8, bitBuffer >>= 8) {
            out.push_back(static_cast<std::uint8_t>(bitBuffer));
        }
        if (next >= (1 << bits) && bits < 12) ++bits;
    };
    emit(clear);
    int current = pixels.empty() ? -1 : pixels[0];
    for (std::size_t i = 1; i < pixels.size(); ++i) {
        const auto found = table.find({current, pixels[i]});
        if (found != table.end()) {
            current = found->second;
            continue;
        }
        emit(current);
        if (next >= 4095 && clearWhenFull) {
            emit(clear);
            bits = minCodeSize + 1;
            next = clear + 2;
            table.clear();
            if (next >= (1 << bits)) ++bits;  // 1-bit codes: as after the first clear code
        } else if (next < 4096) {
            table[{current, pixels[i]}] = next++;
        }
        current = pixels[i];
    }
    if (current >= 0) emit(current);
    emit(clear + 1);
    if (bitCount > 0) out.push_back(static_cast<std::uint8_t>(bitBuffer));
    return out;
}

// A GIF written block by block; colour tables are padded to a power of two.
class Gif {
public:
    Gif(int width, int height, const std::vector<Rgb>& global = {}, std::uint8_t background = 0) {
        out_ = {'G', 'I', 'F', '8', '9', 'a'};
        Put16(out_, static_cast<unsigned>(width));
        Put16(out_, static_cast<unsigned>(height));
        out_.push_back(global.empty() ? 0 : static_cast<std::uint8_t>(0x80 | TableBits(global)));
        out_.push_back(background);
        out_.push_back(0);
        PutTable(global);
    }

    Gif& Control(int disposal, int delay, int transparentIndex = -1) {
        out_.insert(out_.end(), {0x21, 0xF9, 4});
        out_.push_back(
            static_cast<std::uint8_t>((disposal << 2) | (transparentIndex >= 0 ? 1 : 0)));
        Put16(out_, static_cast<unsigned>(delay));
        out_.push_back(static_cast<std::uint8_t>(transparentIndex >= 0 ? transparentIndex : 0));
        out_.push_back(0);
        return *this;
    }

    Gif& Comment() {
        out_.insert(out_.end(), {0x21, 0xFE, 3, 'a', 'b', 'c', 2, 'd', 'e', 0});
        return *this;
    }

    // pixels: width × height indices, top row first.
    Gif& Image(int left, int top, int width, int height, const Bytes& pixels,
               const std::vector<Rgb>& local = {}, bool interlaced = false, int minCodeSize = 8,
               bool clearWhenFull = true, std::size_t blockSize = 255) {
        out_.push_back(0x2C);
        Put16(out_, static_cast<unsigned>(left));
        Put16(out_, static_cast<unsigned>(top));
        Put16(out_, static_cast<unsigned>(width));
        Put16(out_, static_cast<unsigned>(height));
        out_.push_back(static_cast<std::uint8_t>((local.empty() ? 0 : 0x80 | TableBits(local)) |
                                                 (interlaced ? 0x40 : 0)));
        PutTable(local);
        Bytes stream;
        for (int pass = 0; pass < (interlaced ? 4 : 1); ++pass) {
            static constexpr int starts[] = {0, 4, 2, 1}, steps[] = {8, 8, 4, 2};
            const int start = interlaced ? starts[pass] : 0, step = interlaced ? steps[pass] : 1;
            for (int y = start; y < height; y += step) {
                stream.insert(stream.end(), pixels.begin() + y * width,
                              pixels.begin() + (y + 1) * width);
            }
        }
        out_.push_back(static_cast<std::uint8_t>(minCodeSize));
        const Bytes lzw = LzwEncode(stream, minCodeSize, clearWhenFull);
        for (std::size_t at = 0; at < lzw.size(); at += blockSize) {
            const std::size_t n = std::min(blockSize, lzw.size() - at);
            out_.push_back(static_cast<std::uint8_t>(n));
            out_.insert(out_.end(), lzw.begin() + at, lzw.begin() + at + n);
        }
        out_.push_back(0);
        return *this;
    }

    Bytes Finish() const {
        Bytes done = out_;
        done.push_back(0x3B);
        return done;
    }

private:
    static int TableBits(const std::vector<Rgb>& table) {
        int bits = 0;
        while ((2u << bits) < table.size()) ++bits;
        return bits;
    }
    void PutTable(const std::vector<Rgb>& table) {
        if (table.empty()) return;
        for (const Rgb& c : table) out_.insert(out_.end(), c.begin(), c.end());
        out_.resize(out_.size() + 3 * ((2u << TableBits(table)) - table.size()), 0);
    }
    Bytes out_;
};

// A PCX of one plane; `lines` holds height × bytesPerLine bytes, run-length encoded as one
// stream, so that runs go on across line ends.
inline Bytes Pcx(int width, int height, int bitsPerPixel, int bytesPerLine, const Bytes& lines,
                 const std::vector<Rgb>& palette, int version = 5) {
    Bytes out(128, 0);
    out[0] = 0x0A;
    out[1] = static_cast<std::uint8_t>(version);
    out[2] = 1;
    out[3] = static_cast<std::uint8_t>(bitsPerPixel);
    out[4] = 3;  // xmin = 3, ymin = 0
    out[8] = static_cast<std::uint8_t>(width + 2);
    out[9] = static_cast<std::uint8_t>((width + 2) >> 8);
    out[10] = static_cast<std::uint8_t>(height - 1);
    out[11] = static_cast<std::uint8_t>((height - 1) >> 8);
    out[65] = 1;
    out[66] = static_cast<std::uint8_t>(bytesPerLine);
    out[67] = static_cast<std::uint8_t>(bytesPerLine >> 8);
    if (bitsPerPixel == 1) {
        for (std::size_t i = 0; i < palette.size() && i < 16; ++i) {
            std::copy(palette[i].begin(), palette[i].end(), out.begin() + 16 + 3 * i);
        }
    }
    for (std::size_t at = 0; at < lines.size();) {
        std::size_t run = 1;
        while (at + run < lines.size() && run < 63 && lines[at + run] == lines[at]) ++run;
        if (run > 1 || lines[at] >= 0xC0) out.push_back(static_cast<std::uint8_t>(0xC0 | run));
        out.push_back(lines[at]);
        at += run;
    }
    if (bitsPerPixel == 8) {
        out.push_back(0x0C);
        for (int i = 0; i < 256; ++i) {
            const Rgb c = i < static_cast<int>(palette.size()) ? palette[i] : Rgb{};
            out.insert(out.end(), c.begin(), c.end());
        }
    }
    return out;
}

// An EXIF block of one directory in either byte order, each entry {tag, type, value}: a SHORT (3)
// or LONG (4) held in the entry, a RATIONAL (5) of value / 1 stored after the directory.
inline Bytes Exif(const std::vector<std::array<std::uint32_t, 3>>& entries, bool bigEndian = false) {
    Bytes out = {'E', 'x', 'i', 'f', 0, 0};
    const auto put = [&](std::uint32_t v, int size) {
        for (int i = 0; i < size; ++i) out.push_back(static_cast<std::uint8_t>(v >> 8 * (bigEndian ? size - 1 - i : i)));
    };
    put(bigEndian ? 0x4D4D : 0x4949, 2), put(42, 2), put(8, 4), put(static_cast<std::uint32_t>(entries.size()), 2);
    auto rational = static_cast<std::uint32_t>(8 + 2 + 12 * entries.size() + 4);
    for (const auto& [tag, type, value] : entries) {
        put(tag, 2), put(type, 2), put(1, 4);
        type == 5 ? put(std::exchange(rational, rational + 8), 4) : type == 3 ? (put(value, 2), put(0, 2)) : put(value, 4);
    }
    put(0, 4);  // no next directory
    for (const auto& [tag, type, value] : entries) {
        if (type == 5) put(value, 4), put(1, 4);
    }
    return out;
}

struct IconEntry {
    int width;    // as the directory says it; 0 stands for 256
    int colours;  // the directory's colour count byte
    int bitCount;
    bool png = false;
};

// Each entry's image is a bare header of the entry's size: BITMAPINFOHEADER (twice the height
// for the mask) or a PNG signature and IHDR.
inline Bytes Icon(const std::vector<IconEntry>& entries, int type = 1) {
    Bytes out;
    Put16(out, 0);
    Put16(out, static_cast<unsigned>(type));
    Put16(out, static_cast<unsigned>(entries.size()));
    std::vector<Bytes> images;
    for (const IconEntry& e : entries) {
        const std::uint32_t side = e.width == 0 ? 256 : static_cast<std::uint32_t>(e.width);
        Bytes image;
        if (e.png) {
            image = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
            for (std::uint32_t v : {side, side}) {
                for (int shift = 24; shift >= 0; shift -= 8) {
                    image.push_back(static_cast<std::uint8_t>(v >> shift));
                }
            }
            image.insert(image.end(), {8, 6, 0, 0, 0, 0, 0, 0, 0});
        } else {
            Put32(image, 40);
            Put32(image, side);
            Put32(image, side * 2);
            Put16(image, 1);
            Put16(image, static_cast<unsigned>(e.bitCount));
            image.resize(40, 0);
        }
        images.push_back(image);
    }
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        out.insert(out.end(), {static_cast<std::uint8_t>(entries[i].width),
                               static_cast<std::uint8_t>(entries[i].width),
                               static_cast<std::uint8_t>(entries[i].colours), 0});
        Put16(out, 1);
        Put16(out, static_cast<unsigned>(entries[i].bitCount));
        Put32(out, static_cast<std::uint32_t>(images[i].size()));
        Put32(out, offset);
        offset += static_cast<std::uint32_t>(images[i].size());
    }
    for (const Bytes& image : images) out.insert(out.end(), image.begin(), image.end());
    return out;
}

// Writes a file for a fuzzer to start from into <build>/<folder>, beside the build's tests; false
// when it could not.
inline bool WriteSeed(const char* folder, const char* name, const Bytes& bytes) {
    std::error_code error;
    const auto tests = std::filesystem::read_symlink("/proc/self/exe", error).parent_path();
    const auto directory = tests / ".." / ".." / folder;
    std::filesystem::create_directories(directory, error);
    std::ofstream out(directory / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return !error && out.good();
}

}  // namespace samples
