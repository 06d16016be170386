#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "device/font_coverage.h"

namespace {

using device::FontRun;
using device::GlyphCoverage;
using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& b, unsigned v) { b.insert(b.end(), {std::uint8_t(v >> 8), std::uint8_t(v)}); }
void Put32(Bytes& b, std::uint32_t v) { Put16(b, v >> 16), Put16(b, v & 0xFFFF); }

// A cmap with a (3,1) format 4 subtable: 'A'..'C' by delta, 0x4E00..0x4E01 through the glyph
// array where 0x4E01 maps to the missing glyph, and the closing 0xFFFF segment; then a (3,10)
// format 12 subtable whose group 0x1F600..0x1F602 starts on the missing glyph.
Bytes SampleCmap() {
    Bytes format4;
    Put16(format4, 4), Put16(format4, 0), Put16(format4, 0), Put16(format4, 6);  // 3 segments
    Put16(format4, 0), Put16(format4, 0), Put16(format4, 0);
    for (unsigned end : {0x43u, 0x4E01u, 0xFFFFu}) Put16(format4, end);
    Put16(format4, 0);
    for (unsigned start : {0x41u, 0x4E00u, 0xFFFFu}) Put16(format4, start);
    for (unsigned delta : {0x10000u - 0x40u, 0u, 1u}) Put16(format4, delta);
    for (unsigned offset : {0u, 4u, 0u}) Put16(format4, offset);  // the second points past the third
    Put16(format4, 7), Put16(format4, 0);                       // glyphs of 0x4E00, 0x4E01

    Bytes format12;
    Put16(format12, 12), Put16(format12, 0), Put32(format12, 28), Put32(format12, 0);
    Put32(format12, 1), Put32(format12, 0x1F600), Put32(format12, 0x1F602), Put32(format12, 0);

    Bytes cmap;
    Put16(cmap, 0), Put16(cmap, 2);
    Put16(cmap, 3), Put16(cmap, 1), Put32(cmap, 20);
    Put16(cmap, 3), Put16(cmap, 10), Put32(cmap, 20 + std::uint32_t(format4.size()));
    cmap.insert(cmap.end(), format4.begin(), format4.end());
    cmap.insert(cmap.end(), format12.begin(), format12.end());
    return cmap;
}

TEST(GlyphCoverage, ReadsSegmentsAndGroupsButNotTheMissingGlyph) {
    const Bytes cmap = SampleCmap();
    const GlyphCoverage font = GlyphCoverage::FromCmap(cmap);
    for (char32_t c : {U'A', U'C', U'一', U'\U0001F601', U'\U0001F602'}) EXPECT_TRUE(font.Covers(c));
    for (char32_t c : {U'@', U'D', U'丁', U'\U0001F600', U'\uFFFF'}) EXPECT_FALSE(font.Covers(c));
    EXPECT_EQ((std::vector<int>{font.Glyph(U'A'), font.Glyph(U'C'), font.Glyph(U'一'),
                                font.Glyph(U'\U0001F602'), font.Glyph(U'D')}),
              (std::vector<int>{1, 3, 7, 2, 0}));

    // Cut anywhere, the table reads what lies before the cut and nothing beyond.
    for (std::size_t size = 0; size < cmap.size(); ++size) {
        EXPECT_FALSE(GlyphCoverage::FromCmap({cmap.data(), size}).Covers(U'\U0001F602'));
    }
    EXPECT_TRUE(GlyphCoverage::FromCmap({}).Empty());
}

TEST(SplitByFont, GivesEachCharacterTheFirstFontThatHasItAndKeepsPairsWhole) {
    Bytes lower;  // a (3,10) format 12 table of 'a'..'z' alone
    Put16(lower, 0), Put16(lower, 1), Put16(lower, 3), Put16(lower, 10), Put32(lower, 12);
    Put16(lower, 12), Put16(lower, 0), Put32(lower, 28), Put32(lower, 0), Put32(lower, 1);
    Put32(lower, 'a'), Put32(lower, 'z'), Put32(lower, 1);
    const std::vector<GlyphCoverage> fonts{GlyphCoverage::FromCmap(lower),
                                           GlyphCoverage::FromCmap(SampleCmap())};
    using Run = std::vector<std::size_t>;
    std::vector<Run> runs;
    for (const FontRun& run : device::SplitByFont(u"ab\U0001F601A?\U0001F600", fonts)) {
        runs.push_back({run.start, run.length, run.font});
    }
    // The emoji's pair and 'A' from the second font; '?' and the emoji that no font has stay
    // with the text font.
    EXPECT_EQ(runs, (std::vector<Run>{{0, 2, 0}, {2, 3, 1}, {5, 3, 0}}));

    const std::vector<GlyphCoverage> unreadable{GlyphCoverage{}, fonts[1]};
    EXPECT_EQ(device::SplitByFont(u"A\U0001F601", unreadable).size(), 1u);
    EXPECT_TRUE(device::SplitByFont(u"", fonts).empty());
}

}  // namespace
