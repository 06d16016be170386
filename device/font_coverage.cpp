#include "device/font_coverage.h"

#include <algorithm>

#include "ui/unicode.h"

namespace device {
namespace {

// Big-endian reads that yield nothing past the end of the table.
class TableReader {
public:
    explicit TableReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    bool Has(std::size_t offset, std::size_t size) const {
        return offset <= bytes_.size() && size <= bytes_.size() - offset;
    }
    std::uint16_t U16(std::size_t offset) const {
        if (!Has(offset, 2)) return 0;
        return static_cast<std::uint16_t>(bytes_[offset] << 8 | bytes_[offset + 1]);
    }
    std::uint32_t U32(std::size_t offset) const {
        if (!Has(offset, 4)) return 0;
        return std::uint32_t{U16(offset)} << 16 | U16(offset + 2);
    }

private:
    std::span<const std::uint8_t> bytes_;
};

constexpr char32_t lastCodePoint = 0x10FFFF;

bool IsUnicodeSubtable(std::uint16_t platform, std::uint16_t encoding) {
    return platform == 0 || (platform == 3 && (encoding == 1 || encoding == 10));
}

}  // namespace

GlyphCoverage GlyphCoverage::FromCmap(std::span<const std::uint8_t> cmap) {
    const TableReader table(cmap);
    GlyphCoverage coverage;
    const std::size_t subtables = table.U16(2);
    for (std::size_t i = 0; i < subtables && table.Has(4 + i * 8, 8); ++i) {
        const std::size_t record = 4 + i * 8;
        if (!IsUnicodeSubtable(table.U16(record), table.U16(record + 2))) continue;
        const std::size_t at = table.U32(record + 4);
        const std::uint16_t format = table.U16(at);

        if (format == 4) {
            const std::size_t segments = table.U16(at + 6) / 2;
            const std::size_t ends = at + 14;
            const std::size_t starts = ends + segments * 2 + 2;
            const std::size_t deltas = starts + segments * 2;
            const std::size_t rangeOffsets = deltas + segments * 2;
            if (!table.Has(rangeOffsets, segments * 2)) continue;
            for (std::size_t s = 0; s < segments; ++s) {
                const std::uint32_t first = table.U16(starts + s * 2);
                const std::uint32_t last = table.U16(ends + s * 2);
                const std::uint16_t delta = table.U16(deltas + s * 2);
                const std::size_t rangeOffsetAt = rangeOffsets + s * 2;
                const std::uint16_t rangeOffset = table.U16(rangeOffsetAt);
                for (std::uint32_t c = first; c <= last && c != 0xFFFF; ++c) {
                    std::uint16_t glyph = 0;
                    if (rangeOffset == 0) {
                        glyph = static_cast<std::uint16_t>(c + delta);
                    } else {
                        const std::size_t glyphAt = rangeOffsetAt + rangeOffset + (c - first) * 2;
                        if (!table.Has(glyphAt, 2)) break;
                        glyph = table.U16(glyphAt);
                        if (glyph != 0) glyph = static_cast<std::uint16_t>(glyph + delta);
                    }
                    if (glyph != 0) coverage.Add(c, c, glyph);
                }
            }
        } else if (format == 12) {
            const std::size_t groups = table.U32(at + 12);
            for (std::size_t g = 0; g < groups && table.Has(at + 16 + g * 12, 12); ++g) {
                const std::size_t group = at + 16 + g * 12;
                char32_t first = table.U32(group);
                const char32_t last = std::min<char32_t>(table.U32(group + 4), lastCodePoint);
                std::uint32_t glyph = table.U32(group + 8);
                if (glyph == 0) ++first, ++glyph;  // its first character is the missing glyph
                if (first <= last && glyph + (last - first) <= 0xFFFF) coverage.Add(first, last, glyph);
            }
        }
    }
    coverage.Normalize();
    return coverage;
}

void GlyphCoverage::Add(char32_t first, char32_t last, std::uint32_t firstGlyph) {
    if (!ranges_.empty()) {
        Range& back = ranges_.back();
        if (back.last + 1 == first && back.firstGlyph + (first - back.first) == firstGlyph) {
            back.last = last;
            return;
        }
    }
    ranges_.push_back({first, last, firstGlyph});
}

// Orders the ranges; where ranges of two subtables overlap, the one that starts first keeps the
// characters they share.
void GlyphCoverage::Normalize() {
    std::stable_sort(ranges_.begin(), ranges_.end(),
                     [](const Range& a, const Range& b) { return a.first < b.first; });
    std::vector<Range> kept;
    for (Range range : ranges_) {
        if (!kept.empty() && range.first <= kept.back().last) {
            if (range.last <= kept.back().last) continue;
            range.firstGlyph += kept.back().last + 1 - range.first;
            range.first = kept.back().last + 1;
        }
        kept.push_back(range);
    }
    ranges_ = std::move(kept);
}

std::uint16_t GlyphCoverage::Glyph(char32_t c) const {
    const auto after = std::upper_bound(ranges_.begin(), ranges_.end(), c,
                                        [](char32_t value, const Range& range) { return value < range.first; });
    if (after == ranges_.begin() || c > std::prev(after)->last) return 0;
    return static_cast<std::uint16_t>(std::prev(after)->firstGlyph + (c - std::prev(after)->first));
}

std::u32string CodePoints(std::u16string_view text) {
    std::u32string points;
    points.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const ui::CodePointRead point = ui::Utf16CodePointAt(text, i);
        points.push_back(point.codePoint);
        i += point.length;
    }
    return points;
}

std::vector<FontRun> SplitByFont(std::u16string_view line, std::span<const GlyphCoverage> fonts) {
    std::vector<FontRun> runs;
    for (std::size_t i = 0; i < line.size();) {
        const auto [c, units] = ui::Utf16CodePointAt(line, i);
        std::size_t font = 0;
        if (!fonts.empty() && !fonts[0].Empty() && !fonts[0].Covers(c)) {
            for (std::size_t f = 1; f < fonts.size(); ++f) {
                if (fonts[f].Covers(c)) {
                    font = f;
                    break;
                }
            }
        }
        if (!runs.empty() && runs.back().font == font) {
            runs.back().length += units;
        } else {
            runs.push_back({i, units, font});
        }
        i += units;
    }
    return runs;
}

}  // namespace device
