#include "text/separate_edit_texts.h"

#include <gtest/gtest.h>

#include <string>

namespace text {
namespace {

using namespace std::string_literals;

TEST(SeparateEditTexts, TitleStatesTheEditBoxSizeAndTheSheet) {
    EXPECT_EQ(SeparateEditTitle(797, 780),
              "宽：797像素   高：780像素  (默认打印纸张宽度：160mm   高度：240mm   "
              "默认字体大小：14    每张容纳字行数：18行）");
}

TEST(SeparateEditTexts, RulersNumberEighteenLinesAndTwentyMarks) {
    EXPECT_EQ(VerticalRulerText(),
              "\r\n\r\n1\r\n\r\n\r\n2\r\n\r\n\r\n3\r\n\r\n\r\n4\r\n\r\n\r\n5\r\n\r\n\r\n6\r\n\r\n\r\n7"
              "\r\n\r\n\r\n8\r\n\r\n\r\n9\r\n\r\n\r\n10\r\n\r\n\r\n11\r\n\r\n\r\n12\r\n\r\n\r\n13"
              "\r\n\r\n\r\n14\r\n\r\n\r\n15\r\n\r\n\r\n16\r\n\r\n\r\n17\r\n\r\n\r\n18");

    EXPECT_EQ(HorizontalRulerText(),
              "   1   2   3   4   5   6   7   8   9   10   11   12   13   14   15   16"
              "   17   18   17   18");
}

TEST(SeparateEditTexts, BackupTextEndsAtNulOrCtrlZButNotInsideACharacter) {
    EXPECT_EQ(BackupTextPrefix("abc\0def"s), "abc");
    EXPECT_EQ(BackupTextPrefix("abc\x1A" "def"), "abc");
    EXPECT_EQ(BackupTextPrefix("abc"), "abc");
    // A lead byte takes a trail byte from 0x40 up with it, so its second byte is never tested.
    EXPECT_EQ(BackupTextPrefix("\xB0\x40\xD6\xD0\x1A!"), "\xB0\x40\xD6\xD0");
    // 0 and 26 cannot be trail bytes: after a lead byte they still end the text.
    EXPECT_EQ(BackupTextPrefix("\xD6\x1A" "x"), "\xD6");
    EXPECT_EQ(BackupTextPrefix("\xD6\0x"s), "\xD6");
    EXPECT_EQ(BackupTextPrefix(""), "");
}

TEST(SeparateEditTexts, BackupIsReadAsUtf8AfterItsMarkElseAsGbkAndAFailedSaveGivesTheSystemsReason) {
    const auto marked = [](std::string_view gbk) { return u"gbk:" + std::u16string(gbk.begin(), gbk.end()); };
    EXPECT_EQ(BackupText("\xEF\xBB\xBF\xF0\x9F\x98\x80\r\n\x1A" "after", marked), u"\U0001F600\r\n");
    EXPECT_EQ(BackupText("ab\0c"s, marked), u"gbk:ab");
    EXPECT_EQ(SaveFailedMessage(L"磁盘空间不足。\r\n", 112), L"保存失败：磁盘空间不足。");
    EXPECT_EQ(SaveFailedMessage(L" \r\n", 5), L"保存失败：错误代码 5");
}

TEST(SeparateEditTexts, SaveAsAddsTxtOnlyWhenMissing) {
    EXPECT_EQ(SaveAsFileName(L"C:\\notes"), L"C:\\notes.txt");
    EXPECT_EQ(SaveAsFileName(L"C:\\notes.txt"), L"C:\\notes.txt");
    EXPECT_EQ(SaveAsFileName(L"C:\\NOTES.TXT"), L"C:\\NOTES.TXT");
    EXPECT_EQ(SaveAsFileName(L"C:\\notes.txt.bak"), L"C:\\notes.txt.bak.txt");
    EXPECT_EQ(SaveAsFileName(L""), L".txt");
}

}  // namespace
}  // namespace text
