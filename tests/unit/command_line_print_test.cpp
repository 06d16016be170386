#include <gtest/gtest.h>

#include "app/command_line_print.h"

namespace {

using namespace app;
using Arguments = std::vector<std::u16string>;

std::optional<CommandLineRequest> Parse(const Arguments& arguments) { return ParseCommandLine(arguments); }

TEST(CommandLinePrint, ReadsTheFormsWithOptionsAnywhereAndInAnyCase) {
    const auto none = Parse({});
    ASSERT_TRUE(none);
    EXPECT_FALSE(none->print);
    EXPECT_TRUE(none->files.empty());

    const auto opened = Parse({u"C:\\my files\\a.txt", u"b.jpg"});
    ASSERT_TRUE(opened);
    EXPECT_FALSE(opened->print);
    EXPECT_EQ(opened->files, (Arguments{u"C:\\my files\\a.txt", u"b.jpg"}));

    const auto printed = Parse({u"-W", u"40", u"/P", u"a.txt", u"/s", u"*.jpg", u"/Layout", u" 每页4张 "});
    ASSERT_TRUE(printed);
    EXPECT_TRUE(printed->print);
    EXPECT_TRUE(printed->printer.empty());
    EXPECT_EQ(printed->files, (Arguments{u"a.txt", u"*.jpg"}));
    EXPECT_EQ(printed->charsPerLine, 40);
    EXPECT_EQ(printed->layout, picture::PictureLayout::perPage4);
    EXPECT_TRUE(printed->silent);
    EXPECT_EQ(Parse({u"/p", u"a.png", u"/layout", u"每页 4 张"})->layout, picture::PictureLayout::perPage4);
    EXPECT_EQ(Parse({u"/p", u"a.png"})->layout, picture::PictureLayout::fit);

    const auto printedTo = Parse({u"/pt", u"C:\\a b.txt", u"Office Printer", u"winspool", u""});
    ASSERT_TRUE(printedTo);
    EXPECT_EQ(printedTo->files, (Arguments{u"C:\\a b.txt"}));
    EXPECT_EQ(printedTo->printer, u"Office Printer");
}

TEST(CommandLinePrint, RefusesWhatItDoesNotUnderstand) {
    for (const Arguments& wrong : std::vector<Arguments>{
             {u"/p"}, {u"/x", u"a.txt"}, {u"/p", u"a.txt", u"/w", u"0"}, {u"/p", u"a.txt", u"/w", u"99"},
             {u"/p", u"a.txt", u"/w", u"x"}, {u"/p", u"a.txt", u"/w"}, {u"/p", u"a.txt", u"/layout", u"8寸"},
             {u"/pt", u"a.txt"}, {u"/pt", u"a.txt", u""}, {u"/pt", u"a", u"b", u"c", u"d", u"e"},
             {u"/p", u"a.txt", u"/p", u"b.txt"}, {u"a.txt", u"/s"}, {u"/p", u""}}) {
        EXPECT_FALSE(Parse(wrong)) << wrong.size() << " arguments, first " << wrong[0].size();
    }
}

TEST(CommandLinePrint, MatchesWildcardsWithoutCase) {
    EXPECT_TRUE(WildcardMatch(u"扫描*.JPG", u"扫描 01.jpg"));
    EXPECT_TRUE(WildcardMatch(u"a?c*", u"abc"));
    EXPECT_TRUE(WildcardMatch(u"*a*b", u"xaxxab"));
    EXPECT_FALSE(WildcardMatch(u"*.txt", u"a.txt2"));
    EXPECT_FALSE(WildcardMatch(u"a?c", u"ac"));
    EXPECT_TRUE(HasWildcard(u"C:\\x\\*.txt"));
    EXPECT_FALSE(HasWildcard(u"C:\\a*\\b.txt"));
}

TEST(CommandLinePrint, FillsTheLineWithTwoBytesForEachFullWidthCharacterThatFits) {
    EXPECT_EQ(FillingCharsPerLine(1900, 42), 90);
    EXPECT_EQ(FillingCharsPerLine(5000, 42), 98);
    EXPECT_EQ(FillingCharsPerLine(30, 42), 1);
    EXPECT_EQ(FillingCharsPerLine(1900, 0), 1);
}

TEST(CommandLinePrint, PutsOnePictureOnAPageOnlyForTheFourSingleLayouts) {
    int single = 0;
    for (int i = 0; i < picture::pictureLayoutCount; ++i) single += OnePicturePerPage(static_cast<picture::PictureLayout>(i));
    EXPECT_EQ(single, 4);
    EXPECT_FALSE(OnePicturePerPage(picture::PictureLayout::inch1));
}

}  // namespace
