#include <gtest/gtest.h>

#include <string>

#include "text/text_file_lines.h"
#include "ui/file_filter.h"

namespace {

using namespace std::string_literals;

TEST(TextFileLines, EveryLineEndsWithCrLf) {
    EXPECT_EQ(text::TextFileLines("one\ntwo\r\nthree"), "one\r\ntwo\r\nthree\r\n");
    EXPECT_EQ(text::TextFileLines("one\n"), "one\r\n");  // no empty line after the last break
    EXPECT_EQ(text::TextFileLines("\n\n"), "\r\n\r\n");
    EXPECT_EQ(text::TextFileLines(""), "");
    // Only the CR right before the LF goes; a lone CR stays inside its line.
    EXPECT_EQ(text::TextFileLines("a\rb\r\r\n"), "a\rb\r\r\n");
}

TEST(TextFileLines, NulAndCtrlZEndTheText) {
    EXPECT_EQ(text::TextFileLines("one\ntwo\x1Ahidden\n"), "one\r\ntwo\r\n");
    EXPECT_EQ(text::TextFileLines("one\n\0hidden"s), "one\r\n");
    // GBK bytes pass unchanged, whatever their trail bytes.
    EXPECT_EQ(text::TextFileLines("\xD6\xD0\xCE\xC4\n"), "\xD6\xD0\xCE\xC4\r\n");
}

TEST(DialogFilter, BarsBecomeNulSeparatedPairs) {
    EXPECT_EQ(ui::DialogFilter(L"Text (*.txt)|*.txt|All (*.*)|*.*||"),
              L"Text (*.txt)\0*.txt\0All (*.*)\0*.*\0\0"s);
    // A description without a pattern lists what it names.
    EXPECT_EQ(ui::DialogFilter(L"*.txt"), L"*.txt\0*.txt\0\0"s);
    EXPECT_EQ(ui::DialogFilter(L"*.png|*.jpg|*.cur"), L"*.png\0*.jpg\0*.cur\0*.cur\0\0"s);
    EXPECT_EQ(ui::DialogFilter(L""), L"\0"s);
}

}  // namespace
