#include <gtest/gtest.h>

#include "update/command_line.h"

namespace {

using namespace update;
using Arguments = std::vector<std::wstring>;

TEST(CommandLine, GivesBackEveryArgumentAfterJoiningAndSplitting) {
    const Arguments arguments = {LR"(C:\Program Files\墨舟\updater.exe)", L"接力口令",
                                 L"墨舟 \"正式版\"", LR"(C:\dir\)", LR"(C:\my dir\)", LR"(a\\"b)",
                                 L"", L"\t", L"\"\"", LR"(\\)"};
    EXPECT_EQ(SplitCommandLine(JoinCommandLine(arguments)), arguments);
}

TEST(CommandLine, DoublesBackslashesBeforeAnEscapedQuoteAndBeforeTheClosingQuote) {
    EXPECT_EQ(QuoteArgument(LR"(a\"b c\)"), LR"("a\\\"b c\\")");
}

TEST(CommandLine, PutsTheProgramPathInPlainQuotesAndRefusesOneWithAQuote) {
    EXPECT_EQ(JoinCommandLine(Arguments{LR"(C:\a b\)", L"x y", L"运行"}), LR"("C:\a b\" "x y" 运行)");
    EXPECT_EQ(JoinCommandLine(Arguments{L"a\"b.exe"}), L"");
}

TEST(CommandLine, ReadsHandWrittenLinesAsCommandLineToArgvWDoes) {
    EXPECT_EQ(SplitCommandLine(LR"("C:\a b\x.exe" a\\\"b "c d" e\\f g\\"h i")"),
              (Arguments{LR"(C:\a b\x.exe)", LR"(a\"b)", L"c d", LR"(e\\f)", LR"(g\h i)"}));
    EXPECT_EQ(SplitCommandLine(L"C:\\a\"b\tc  \"\" \t"), (Arguments{L"C:\\a\"b", L"c", L""}));
    EXPECT_EQ(SplitCommandLine(L"  \"a b\"c"), (Arguments{L"", L"a bc"}));
}

TEST(CommandLine, ReadsTwoQuotesInsideAQuotedPartAsOneQuoteAndStaysQuoted) {
    EXPECT_EQ(SplitCommandLine(LR"(x "a""b c" d)"), (Arguments{L"x", L"a\"b c", L"d"}));
}

TEST(CommandLine, CutsOnlyTheLastArgumentToFitAndNeverHalvesASurrogatePair) {
    std::wstring notes;
    for (int i = 0; i < 20000; ++i) notes += L"说 \xD83D\xDE00\"";
    const Arguments arguments = {L"C:\\墨舟\\update.exe", L"接力口令", L"http://h/x.zip", notes};
    for (const std::size_t longest : {std::size_t{32766}, std::size_t{1001}, std::size_t{1002}}) {
        const std::wstring line = JoinCommandLineWithin(arguments, longest);
        ASSERT_LE(line.size(), longest);
        EXPECT_GT(line.size(), longest - 8);
        const Arguments back = SplitCommandLine(line);
        ASSERT_EQ(back.size(), arguments.size());
        EXPECT_TRUE(std::equal(back.begin(), back.end() - 1, arguments.begin()));
        EXPECT_TRUE(notes.starts_with(back.back()));
        EXPECT_FALSE(back.back().ends_with(L'\xD83D'));
    }
    EXPECT_EQ(JoinCommandLineWithin(arguments, 40), L"");
    EXPECT_EQ(JoinCommandLineWithin(Arguments{L"a.exe", L"b c"}), JoinCommandLine(Arguments{L"a.exe", L"b c"}));
}

}  // namespace
