// Which characters a font can draw, and which font draws each part of a line. A printer driver
// draws a character its font lacks as an empty box or not at all, so characters beyond the
// text font (emoji, rare ideographs) are drawn with a font that has them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace device {

// The characters a font maps to glyphs, read from its OpenType/TrueType "cmap" table: the Unicode
// subtables in formats 4 (16-bit segments) and 12 (32-bit groups). Characters mapped to the
// missing glyph (glyph 0) are not covered. A damaged table covers what could be read of it.
class GlyphCoverage {
public:
    GlyphCoverage() = default;
    static GlyphCoverage FromCmap(std::span<const std::uint8_t> cmap);

    bool Covers(char32_t c) const { return Glyph(c) != 0; }
    // The glyph that draws the character, 0 (the missing glyph) when it has none.
    std::uint16_t Glyph(char32_t c) const;
    bool Empty() const { return ranges_.empty(); }

private:
    // Characters first..last drawn by consecutive glyphs from firstGlyph on.
    struct Range {
        char32_t first = 0;
        char32_t last = 0;
        std::uint32_t firstGlyph = 0;
    };
    void Add(char32_t first, char32_t last, std::uint32_t firstGlyph);
    void Normalize();

    std::vector<Range> ranges_;  // sorted, disjoint
};

// The code points of a UTF-16 text; an unpaired surrogate stands for itself.
std::u32string CodePoints(std::u16string_view text);

// A stretch of a line drawn with one font: 0 is the text font, n the n-th fallback.
struct FontRun {
    std::size_t start = 0;  // UTF-16 units
    std::size_t length = 0;
    std::size_t font = 0;
};

// Splits a UTF-16 line into runs of the first font (fonts[0] being the text font) that covers
// each character; a character that no font covers stays with the text font, and a surrogate
// pair is never split. A text font whose table could not be read draws everything. An empty
// line gives no run.
std::vector<FontRun> SplitByFont(std::u16string_view line, std::span<const GlyphCoverage> fonts);

}  // namespace device
