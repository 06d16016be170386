#include <gtest/gtest.h>

#include <string>

#include "text/text_encoding.h"
#include "text/text_file_status.h"
#include "text/text_file_lines.h"
#include "ui/file_filter.h"

namespace {

using namespace std::string_literals;

TEST(TextFileLines, EveryLineEndsWithCrLf) {
    EXPECT_EQ(text::TextFileLines(u"one\ntwo\r\nthree"), u"one\r\ntwo\r\nthree\r\n");
    EXPECT_EQ(text::TextFileLines(u"one\n"), u"one\r\n");  // no empty line after the last break
    EXPECT_EQ(text::TextFileLines(u"\n\n"), u"\r\n\r\n");
    EXPECT_EQ(text::TextFileLines(u""), u"");
    EXPECT_EQ(text::TextFileLines(u"a\rb\r\r\n"), u"a\rb\r\r\n");
}

// Stands in for the system's GB18030 converter: marks what it was given.
std::u16string Gb18030(std::string_view bytes) {
    std::u16string marked = u"gb:";
    for (char byte : bytes) marked += static_cast<unsigned char>(byte);
    return marked;
}

}  // namespace

namespace text {
bool operator==(const DecodedText& decoded, std::u16string_view text) { return decoded.text == text; }
}  // namespace text

namespace {

TEST(DecodeTextFile, ReadsMarksThenValidUtf8ThenGb18030) {
    const std::string zhongWenUtf8 = "\xE4\xB8\xAD\xE6\x96\x87";
    EXPECT_EQ(text::DecodeTextFile(zhongWenUtf8 + "\n", Gb18030), u"中文\n");
    EXPECT_EQ(text::DecodeTextFile("\xEF\xBB\xBF" + zhongWenUtf8, Gb18030), u"中文");
    EXPECT_EQ(text::DecodeTextFile("\xFF\xFE\x2D\x4E\x87\x65\x0A", Gb18030), u"中文");  // odd byte dropped
    EXPECT_EQ(text::DecodeTextFile("\xFE\xFF\x4E\x2D\x65\x87", Gb18030), u"中文");
    EXPECT_EQ(text::DecodeTextFile("\xF0\x9F\x98\x80", Gb18030), u"\U0001F600");
    // GBK that happens to hold a UTF-8-like pair is still GBK: the whole text decides.
    EXPECT_EQ(text::DecodeTextFile("\xC2\xA1\xD6\xD0", Gb18030), u"gb:\xC2\xA1\xD6\xD0");
    EXPECT_EQ(text::DecodeTextFile("\xD6\xD0\x81\x30\x81\x30", Gb18030), u"gb:\xD6\xD0\x81\x30\x81\x30");
    EXPECT_EQ(text::DecodeTextFile("ascii", Gb18030), u"gb:ascii");
    // The text ends at a NUL, and in GB18030 also at Ctrl-Z.
    EXPECT_EQ(text::DecodeTextFile("\xD6\xD0\x1Ahidden", Gb18030), u"gb:\xD6\xD0");
    EXPECT_EQ(text::DecodeTextFile("a\0b"s, Gb18030), u"gb:a");
    EXPECT_EQ(text::DecodeTextFile(zhongWenUtf8 + "\x1A" + "\0b"s, Gb18030), u"中文\x1A");
    EXPECT_EQ(text::DecodeTextFile("\xEF\xBB\xBF\xFF" "a", Gb18030), u"\uFFFDa");  // marked, yet broken
}

TEST(DecodeTextFile, TellsUtf16WithoutAMarkByItsZeroBytes) {
    EXPECT_EQ(text::DecodeTextFile("a\0b\0\r\0\n\0"s, Gb18030), u"ab\r\n");
    EXPECT_EQ(text::DecodeTextFile("\0a\0b\0c"s, Gb18030), u"abc");
    // "一" (U+4E00) puts a zero at the other place; line breaks still tell.
    EXPECT_EQ(text::DecodeTextFile("\x2C\x7B\x00\x4E\x0D\x00\x0A\x00\x8C\x4E\x0D\x00\x0A\x00"s, Gb18030), u"第一\r\n二\r\n");
    EXPECT_EQ(text::DecodeTextFile("abcdefgh\0\0\0\0"s, Gb18030), u"gb:abcdefgh");  // ended by NULs
}

TEST(DecodeTextFile, SaysWhenTheTextWasCutOrFitsNoEncoding) {
    const auto said = [](std::string_view bytes) {
        const text::DecodedText decoded = text::DecodeTextFile(bytes, Gb18030);
        return text::TextFileStatus(decoded) + (decoded.cut ? "|cut" : "") + (decoded.unrecognised ? "|bad" : "");
    };
    EXPECT_EQ(said("\x80\xD6\xD0\x81\x30\x81\x30 ends\x1A\0\x1A"s), "");  // nothing lost after the end
    EXPECT_EQ(said("\xFF\xFE" "a\0\0\0b\0"s), "文件中有结束符，其后的内容未载入|cut");
    EXPECT_EQ(said("\xD6\x7F\0x"s), "文件中有结束符，其后的内容未载入；文件编码无法识别，部分文字可能有误|cut|bad");
    for (const std::string& bad : {"\xEF\xBB\xBF\xFF"s, "\xFF"s, "\xD6"s, "\x81\x30\x81"s, "\xFF\xFE\x00\xD8"s}) {
        EXPECT_EQ(said(bad), "文件编码无法识别，部分文字可能有误|bad") << bad;
    }
}

TEST(SavedTextBytes, GbkWhenItHoldsTheTextElseUtf8WithAMark) {
    EXPECT_EQ(text::SavedTextBytes(u"中 a", "\xD6\xD0 a", u"中 a"), "\xD6\xD0 a");
    EXPECT_EQ(text::SavedTextBytes(u"\U0001F600\xD800" u"a한", "??a?", u"??a?"),
              "\xEF\xBB\xBF\xF0\x9F\x98\x80\xEF\xBF\xBD" "a\xED\x95\x9C");
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
