// The parts of GIF reading that the still picture and the animation share: the screen, the
// blocks, and the LZW decoding of one image. For the picture folder's GIF decoders only.
#pragma once

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <vector>

#include "picture/picture_data.h"

namespace picture::gif {

constexpr std::size_t headerAndScreenSize = 13;
constexpr unsigned maxCodes = 4096;  // codes are at most 12 bits

using Palette = std::array<std::uint32_t, 256>;

struct Screen {
    int width = 0;
    int height = 0;
    std::uint8_t background = 0;
    Palette global{};
    int globalSize = 0;  // 0 when the file has no global table
};

struct Frame {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool interlaced = false;
    Palette palette{};
    int paletteSize = 0;
    int disposal = 0;
    int transparentIndex = -1;
    int delay = 0;  // hundredths of a second
    int minCodeSize = 0;
    Bytes data;  // the LZW data's sub-blocks as stored, from the first length byte
};

// Reads a colour table of `entries` RGB triples at `at`; false when it does not fit.
inline bool ReadPalette(Bytes bytes, std::size_t& at, int entries, Palette& palette) {
    if (bytes.size() - at < static_cast<std::size_t>(entries) * 3) return false;
    palette.fill(0);
    for (int i = 0; i < entries; ++i) {
        const std::uint8_t* rgb = bytes.data() + at + 3 * i;
        palette[i] = static_cast<std::uint32_t>(rgb[2]) |
                     (static_cast<std::uint32_t>(rgb[1]) << 8) |
                     (static_cast<std::uint32_t>(rgb[0]) << 16);
    }
    at += static_cast<std::size_t>(entries) * 3;
    return true;
}

// A file without any colour table shows its indices as greys.
inline void GreyPalette(Palette& palette) {
    for (std::uint32_t i = 0; i < 256; ++i) palette[i] = i | (i << 8) | (i << 16);
}

inline std::optional<Screen> ReadScreen(Bytes bytes, std::size_t& at) {
    if (bytes.size() <= headerAndScreenSize) return std::nullopt;
    if (std::memcmp(bytes.data(), "GIF87a", 6) != 0 &&
        std::memcmp(bytes.data(), "GIF89a", 6) != 0) {
        return std::nullopt;
    }
    Screen screen;
    screen.width = static_cast<int>(Le16(bytes, 6));
    screen.height = static_cast<int>(Le16(bytes, 8));
    const std::uint8_t flags = bytes[10];
    screen.background = bytes[11];
    at = headerAndScreenSize;
    if (flags & 0x80) {
        screen.globalSize = 2 << (flags & 7);
        if (!ReadPalette(bytes, at, screen.globalSize, screen.global)) return std::nullopt;
    }
    return screen;
}

// Walks the blocks after the screen descriptor, one image at a time.
class BlockWalker {
public:
    BlockWalker(Bytes bytes, std::size_t at, const Screen& screen)
        : bytes_(bytes), at_(at), screen_(screen) {}

    // The next image with its graphic control and its compressed data; false at the trailer,
    // at bytes that are no block, or when the file ends before the image's table or data.
    bool Next(Frame& frame) {
        int disposal = 0, transparent = -1, delay = 0;
        while (!ended_ && at_ < bytes_.size()) {
            const std::uint8_t introducer = bytes_[at_++];
            if (introducer == 0x21) {
                if (at_ >= bytes_.size()) {
                    cut_ = true;
                    break;
                }
                const std::uint8_t label = bytes_[at_++];
                if (label == 0xF9 && at_ < bytes_.size() && bytes_[at_] >= 4 &&
                    bytes_.size() - at_ >= 5) {
                    const std::uint8_t flags = bytes_[at_ + 1];
                    disposal = (flags >> 2) & 7;
                    delay = static_cast<int>(Le16(bytes_, at_ + 2));
                    transparent = (flags & 1) ? bytes_[at_ + 4] : -1;
                }
                SkipSubBlocks();
            } else if (introducer == 0x2C) {
                return ReadImage(frame, disposal, transparent, delay);
            } else {
                break;  // the trailer, or something that is no block
            }
        }
        ended_ = true;
        return false;
    }

    // Whether the file has ended inside a block so far: a file cut short, not merely one
    // without its trailer.
    bool Cut() const { return cut_; }

private:
    void SkipSubBlocks() {
        while (at_ < bytes_.size()) {
            const std::size_t length = bytes_[at_++];
            if (length == 0) return;
            if (bytes_.size() - at_ < length) break;
            at_ += length;
        }
        at_ = bytes_.size();  // a truncated last sub-block still counts
        ended_ = cut_ = true;
    }

    bool ReadImage(Frame& frame, int disposal, int transparent, int delay) {
        if (bytes_.size() - at_ < 9) return ended_ = cut_ = true, false;
        frame.left = static_cast<int>(Le16(bytes_, at_));
        frame.top = static_cast<int>(Le16(bytes_, at_ + 2));
        frame.width = static_cast<int>(Le16(bytes_, at_ + 4));
        frame.height = static_cast<int>(Le16(bytes_, at_ + 6));
        const std::uint8_t flags = bytes_[at_ + 8];
        at_ += 9;
        frame.interlaced = (flags & 0x40) != 0;
        frame.disposal = disposal;
        frame.transparentIndex = transparent;
        frame.delay = delay;
        if (flags & 0x80) {
            frame.paletteSize = 2 << (flags & 7);
            if (!ReadPalette(bytes_, at_, frame.paletteSize, frame.palette)) {
                return ended_ = cut_ = true, false;
            }
        } else if (screen_.globalSize > 0) {
            frame.palette = screen_.global;
            frame.paletteSize = screen_.globalSize;
        } else {
            GreyPalette(frame.palette);
            frame.paletteSize = 256;
        }

        // What a truncated file holds of the data is still drawn; a missing code size is none.
        frame.minCodeSize = 0;
        frame.data = {};
        if (at_ < bytes_.size()) {
            frame.minCodeSize = bytes_[at_++];
            const std::size_t dataStart = at_;
            SkipSubBlocks();
            frame.data = bytes_.subspan(dataStart, at_ - dataStart);
        } else {
            cut_ = true;
        }
        return true;
    }

    Bytes bytes_;
    std::size_t at_;
    const Screen& screen_;
    bool ended_ = false;
    bool cut_ = false;
};

// Reads codes least significant bit first from the data's sub-blocks, which it steps over;
// inside a sub-block eight bytes at a time.
class CodeReader {
public:
    explicit CodeReader(Bytes data)
        : p_(data.data()), blockEnd_(data.data()), end_(data.data() + data.size()) {}

    // False when the data has fewer than `size` bits left.
    bool Read(unsigned size, unsigned& code) {
        if (count_ < size) {
            Refill();
            if (count_ < size) return false;
        }
        code = static_cast<unsigned>(bits_) & ((1u << size) - 1);
        bits_ >>= size;
        count_ -= size;
        return true;
    }

private:
    void Refill() {
        if (blockEnd_ - p_ >= 8) {
            std::uint64_t word = 0;
            for (int i = 7; i >= 0; --i) word = (word << 8) | p_[i];
            bits_ |= word << count_;
            p_ += (63 - count_) >> 3;
            count_ |= 56;
            return;
        }
        while (count_ <= 56) {
            if (p_ == blockEnd_) {
                if (p_ == end_ || *p_ == 0) return;
                const std::size_t length = *p_++;
                blockEnd_ = p_ + std::min<std::size_t>(length, static_cast<std::size_t>(end_ - p_));
                if (blockEnd_ - p_ >= 8) return Refill();
                continue;
            }
            bits_ |= static_cast<std::uint64_t>(*p_++) << count_;
            count_ += 8;
        }
    }

    const std::uint8_t* p_;
    const std::uint8_t* blockEnd_;
    const std::uint8_t* end_;
    std::uint64_t bits_ = 0;
    unsigned count_ = 0;
};

// One table entry: the string of `prefix` followed by `suffix`, `length` bytes long, starting
// with `first`. Packed together so that walking a string touches one entry per byte.
struct LzwEntry {
    std::uint16_t prefix;
    std::uint8_t suffix;
    std::uint8_t first;
    std::uint16_t length;
};
using LzwTables = std::array<LzwEntry, maxCodes>;

// Decodes the frame's LZW data row by row: rowDone(streamRow, pixels, count) gets each row in
// stream order (count is the frame width, or less for a row that the data ends in) and returns
// false when no more rows are wanted. Ends quietly at the end code, at a code that cannot be
// there, or where the data ends. Strings are written backwards from their last byte, straight
// into the row buffer, which has room for a whole string past the row's end.
template <typename RowDone>
void DecodeLzw(const Frame& frame, LzwTables& tables, std::vector<std::uint8_t>& buffer,
               RowDone rowDone) {
    const std::size_t width = static_cast<std::size_t>(frame.width);
    if (width == 0 || frame.height == 0) return;
    const unsigned clear = 1u << frame.minCodeSize;
    const unsigned end = clear + 1;
    for (unsigned i = 0; i < clear; ++i) {
        tables[i] = {0, static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i), 1};
    }
    buffer.assign(width + maxCodes + 1, 0);
    std::uint8_t* const out = buffer.data();
    LzwEntry* const table = tables.data();

    CodeReader reader(frame.data);
    unsigned codeSize = frame.minCodeSize + 1;
    unsigned next = clear + 2;
    unsigned previous = maxCodes;  // none since the last clear code
    std::size_t pos = 0;
    std::size_t row = 0;

    unsigned code;
    while (reader.Read(codeSize, code)) {
        if (code == end) break;
        if (code == clear) {
            codeSize = frame.minCodeSize + 1;
            next = clear + 2;
            previous = maxCodes;
        } else if (previous == maxCodes) {
            if (code >= clear) break;
            out[pos++] = static_cast<std::uint8_t>(code);
        } else {
            // code == next is the string being defined: the previous one and its own first byte.
            const LzwEntry& before = table[previous];
            std::uint8_t first;
            if (code < clear) {
                first = static_cast<std::uint8_t>(code);
                out[pos++] = first;
            } else if (code < next) {
                const LzwEntry* e = &table[code];
                first = e->first;
                const unsigned count = e->length;
                std::uint8_t* q = out + pos + count - 1;
                while (q > out + pos) {
                    *q-- = e->suffix;
                    e = &table[e->prefix];
                }
                *q = first;
                pos += count;
            } else if (code == next) {
                first = before.first;
                const unsigned count = before.length + 1u;
                const LzwEntry* e = &before;
                std::uint8_t* q = out + pos + count - 2;
                while (q > out + pos) {
                    *q-- = e->suffix;
                    e = &table[e->prefix];
                }
                *q = first;
                out[pos + count - 1] = first;
                pos += count;
            } else {
                break;
            }
            if (next < maxCodes) {
                table[next] = {static_cast<std::uint16_t>(previous), first, before.first,
                               static_cast<std::uint16_t>(before.length + 1)};
                ++next;
            }
        }
        if (code != clear) previous = code;
        // Checked after a clear code too: with 1-bit codes the first free entry needs 3 bits.
        if (next >= (1u << codeSize) && codeSize < 12) ++codeSize;

        if (pos >= width) {
            std::size_t start = 0;
            do {
                if (row >= static_cast<std::size_t>(frame.height) ||
                    !rowDone(row, out + start, width)) {
                    return;
                }
                ++row;
                start += width;
            } while (pos - start >= width);
            std::memmove(out, out + start, pos - start);
            pos -= start;
        }
    }
    if (pos > 0 && row < static_cast<std::size_t>(frame.height)) rowDone(row, out, pos);
}

// The frame row that the stream's row `row` belongs to.
inline int FrameRow(const Frame& frame, int row) {
    if (!frame.interlaced) return row;
    const int h = frame.height;
    const int pass0 = (h + 7) / 8, pass1 = (h + 3) / 8, pass2 = (h + 1) / 4;
    if (row < pass0) return row * 8;
    row -= pass0;
    if (row < pass1) return row * 8 + 4;
    row -= pass1;
    if (row < pass2) return row * 4 + 2;
    return (row - pass2) * 2 + 1;
}

// The stream row holding the frame row `y`.
inline int StreamRow(const Frame& frame, int y) {
    if (!frame.interlaced) return y;
    const int h = frame.height;
    const int pass0 = (h + 7) / 8, pass1 = (h + 3) / 8, pass2 = (h + 1) / 4;
    if (y % 8 == 0) return y / 8;
    if (y % 8 == 4) return pass0 + y / 8;
    if (y % 4 == 2) return pass0 + pass1 + y / 4;
    return pass0 + pass1 + pass2 + y / 2;
}

// The part of a frame inside the screen, in frame coordinates.
struct Visible {
    int x1 = 0, y1 = 0;  // columns [0, x1) and rows [0, y1)
    int lastStreamRow = -1;
    bool Empty() const { return x1 <= 0 || y1 <= 0; }
};

inline Visible VisiblePart(const Frame& frame, int screenWidth, int screenHeight) {
    Visible v;
    v.x1 = std::max(0, std::min(frame.width, screenWidth - frame.left));
    v.y1 = std::max(0, std::min(frame.height, screenHeight - frame.top));
    if (v.Empty()) return v;
    if (!frame.interlaced) {
        v.lastStreamRow = v.y1 - 1;
    } else {
        // The last row of each interlace pass is among the last eight rows.
        for (int y = std::max(0, v.y1 - 8); y < v.y1; ++y) {
            v.lastStreamRow = std::max(v.lastStreamRow, StreamRow(frame, y));
        }
    }
    return v;
}

// Decodes the frame's visible rows: draw(screenY, screenX, pixels, count) for each stretch.
template <typename Draw>
void DecodeVisible(const Frame& frame, int screenWidth, int screenHeight, LzwTables& tables,
                   std::vector<std::uint8_t>& buffer, Draw draw) {
    if (frame.minCodeSize < 1 || frame.minCodeSize > 8) return;
    const Visible v = VisiblePart(frame, screenWidth, screenHeight);
    if (v.Empty()) return;
    DecodeLzw(frame, tables, buffer,
              [&](std::size_t streamRow, const std::uint8_t* pixels, std::size_t count) {
                  const int row = static_cast<int>(streamRow);
                  if (row > v.lastStreamRow) return false;
                  const int y = FrameRow(frame, row);
                  const int x1 = std::min(v.x1, static_cast<int>(count));
                  if (y < v.y1 && x1 > 0) draw(frame.top + y, frame.left, pixels, x1);
                  return row < v.lastStreamRow;
              });
}

struct GifStart {
    Screen screen;
    std::size_t blocks = 0;
};

inline std::optional<GifStart> ReadStart(Bytes bytes) {
    GifStart start;
    auto screen = ReadScreen(bytes, start.blocks);
    if (!screen) return std::nullopt;
    start.screen = *screen;
    return start;
}

// A screen without area takes the first image's size.
inline void SizeScreen(Screen& screen, const Frame& first) {
    if (screen.width == 0 || screen.height == 0) {
        screen.width = first.width;
        screen.height = first.height;
    }
}

}  // namespace picture::gif
