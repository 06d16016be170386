#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/chunk_text.h"

namespace {

using Chunks = std::vector<std::string>;
using text::ChunkText;

const std::string zhong = "\xD6\xD0";  // 中 in GBK
const std::string wen = "\xCE\xC4";    // 文 in GBK

TEST(ChunkText, CutsEveryNBytesAndKeepsTheRestAsTheLastChunk) {
    EXPECT_EQ(ChunkText("abcdefg", 3), (Chunks{"abc", "def", "g"}));
    EXPECT_EQ(ChunkText("ab", 3), (Chunks{"ab"}));
}

TEST(ChunkText, EndsWithAnEmptyChunkWhenTheTextEndsAtACut) {
    EXPECT_EQ(ChunkText("abcdef", 3), (Chunks{"abc", "def", ""}));
    EXPECT_EQ(ChunkText("", 3), (Chunks{""}));
    // Also when a shortened chunk leaves exactly N bytes.
    EXPECT_EQ(ChunkText("ab" + zhong + "c", 3), (Chunks{"ab", zhong + "c", ""}));

    const Chunks lines = ChunkText(std::string(160, 'x'), 80);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], std::string(80, 'x'));
    EXPECT_EQ(lines[1], std::string(80, 'x'));
    EXPECT_EQ(lines[2], "");
}

TEST(ChunkText, NeverSplitsADoubleByteCharacter) {
    EXPECT_EQ(ChunkText(zhong + wen, 3), (Chunks{zhong, wen}));
    EXPECT_EQ(ChunkText("ab" + zhong + "cd", 3), (Chunks{"ab", zhong + "c", "d"}));
    EXPECT_EQ(ChunkText("a" + zhong + wen, 3), (Chunks{"a" + zhong, wen}));
}

TEST(ChunkText, NeverSeparatesCrFromLf) {
    EXPECT_EQ(ChunkText("ab\r\ncd", 3), (Chunks{"ab", "\r\nc", "d"}));
    EXPECT_EQ(ChunkText("a\rb", 2), (Chunks{"a\r", "b"}));  // a lone CR is one byte
}

TEST(ChunkText, TakesAUnitLongerThanOneByteWholeWhenNIsOne) {
    EXPECT_EQ(ChunkText("a" + zhong + "\r\n", 1), (Chunks{"a", zhong, "\r\n", ""}));
}

TEST(ChunkText, KeepsADanglingLeadByteAsOneByte) {
    EXPECT_EQ(ChunkText("ab\xD6", 2), (Chunks{"ab", "\xD6"}));
}

TEST(ChunkText, GivesNoChunkBelowOneBytePerLine) {
    EXPECT_TRUE(ChunkText("abc", 0).empty());
    EXPECT_TRUE(ChunkText("abc", -5).empty());
    EXPECT_TRUE(ChunkText("", -5).empty());
}

TEST(ChunkText, LosesNoByteOfAMixedText) {
    const std::string mixed = "a" + zhong + "\r\n" + wen + "b\r\n" + zhong + zhong + "\t";
    for (int n = 1; n <= 12; ++n) {
        std::string joined;
        for (const std::string& chunk : ChunkText(mixed, n)) {
            EXPECT_LE(chunk.size(), static_cast<std::size_t>(n < 2 ? 2 : n)) << "n = " << n;
            joined += chunk;
        }
        EXPECT_EQ(joined, mixed) << "n = " << n;
    }
}

}  // namespace
