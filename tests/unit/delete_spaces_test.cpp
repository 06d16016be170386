#include <gtest/gtest.h>

#include <string>

#include "text/delete_spaces.h"

namespace {

using text::DeleteAllSpaces;

const std::string fullWidthSpace = "\xA1\xA1";
const std::string zhong = "\xD6\xD0";  // 中 in GBK

TEST(DeleteAllSpaces, DropsHalfWidthAndFullWidthSpaces) {
    EXPECT_EQ(DeleteAllSpaces("a b" + fullWidthSpace + "c"), "abc");
    EXPECT_EQ(DeleteAllSpaces("  " + fullWidthSpace + " "), "");
}

TEST(DeleteAllSpaces, KeepsTabsAndLineBreaks) {
    EXPECT_EQ(DeleteAllSpaces("a\tb \r\nc\n"), "a\tb\r\nc\n");
}

TEST(DeleteAllSpaces, ReadsDoubleByteCharactersWhole) {
    // The trail byte of 中 followed by A1 A1 must not be read as the start of a full-width space,
    // nor a character ending in A1 followed by A1 as one.
    EXPECT_EQ(DeleteAllSpaces(zhong + " " + zhong), zhong + zhong);
    const std::string endsInA1 = "\xB0\xA1";  // 啊
    EXPECT_EQ(DeleteAllSpaces(endsInA1 + "\xA1\xB0"), endsInA1 + "\xA1\xB0");
}

TEST(DeleteAllSpaces, KeepsAByteAfterALeadByteAsItsTrailByte) {
    // Not valid GBK, but taken as one character so that nothing after it shifts.
    EXPECT_EQ(DeleteAllSpaces("\x81 a"), "\x81 a");
}

TEST(DeleteAllSpaces, DropsALeadByteLeftDanglingAtTheEnd) {
    EXPECT_EQ(DeleteAllSpaces("ab\xD6"), "ab");
    EXPECT_EQ(DeleteAllSpaces(zhong + "\xD6"), zhong);
}

TEST(DeleteAllSpaces, KeepsBytesThatAreNoLeadByte) {
    EXPECT_EQ(DeleteAllSpaces("\x80 \xFF"), "\x80\xFF");
}

}  // namespace
