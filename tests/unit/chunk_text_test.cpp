#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "text/chunk_text.h"

namespace {

using Lines = std::vector<std::u16string>;
using text::ChunkText;

TEST(ChunkText, MeasuresEachLineFromItsOwnStart) {
    EXPECT_EQ(ChunkText(u"line 001\r\nline 002\nline 003\rx", 8), (Lines{u"line 001", u"line 002", u"line 003", u"x"}));
    EXPECT_EQ(ChunkText(u"abcdefg\r\nab", 3), (Lines{u"abc", u"def", u"g", u"ab"}));
    EXPECT_EQ(ChunkText(u"abcdef", 3), (Lines{u"abc", u"def"}));
    EXPECT_EQ(ChunkText(u"a\r\n\r\nb\r\n", 3), (Lines{u"a", u"", u"b", u""}));  // empty lines stay
    EXPECT_EQ(ChunkText(u"", 3), (Lines{u""}));
    std::u16string numbered;
    for (int i = 1; i <= 300; ++i) {
        char line[16];
        const int length = std::snprintf(line, sizeof line, "line %03d\r\n", i);
        numbered.append(line, line + length);
    }
    const Lines printed = ChunkText(numbered, 98);
    ASSERT_EQ(printed.size(), 301u);
    EXPECT_EQ(printed[19], u"line 020");
}

TEST(ChunkText, CountsCharactersOutsideAsciiAsTwoBytesAndNeverCutsOne) {
    EXPECT_EQ(ChunkText(u"中文", 3), (Lines{u"中", u"文"}));
    EXPECT_EQ(ChunkText(u"ab中cd", 3), (Lines{u"ab", u"中c", u"d"}));
    EXPECT_EQ(ChunkText(u"a\U0001F600b", 3), (Lines{u"a\U0001F600", u"b"}));  // a surrogate pair is one
    EXPECT_EQ(ChunkText(u"\u20ac\u20acx", 2), (Lines{u"\u20ac\u20ac", u"x"}));  // the euro sign is one GBK byte
    EXPECT_EQ(ChunkText(u"a中\U0001F600", 1), (Lines{u"a", u"中", u"\U0001F600"}));  // wider than N: whole
}

TEST(ChunkText, GivesNoLineBelowOneBytePerLine) {
    EXPECT_TRUE(ChunkText(u"abc", 0).empty());
    EXPECT_TRUE(ChunkText(u"", -5).empty());
}

}  // namespace
