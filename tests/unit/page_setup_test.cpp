#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/chunk_text.h"
#include "text/page_fields.h"
#include "text/page_setup.h"

namespace {

using text::ExpandFields;
using text::NumberedLine;

TEST(ExpandFields, FillsInEachCodeAndLeavesOtherAmpersandsAlone) {
    const text::FieldValues values{u"报告.txt", 2, 5, u"2026-12-09", u"09:30"};
    EXPECT_EQ(ExpandFields(u"第 &p 页 / 共 &P 页", values), u"第 2 页 / 共 5 页");
    EXPECT_EQ(ExpandFields(u"&f &d &t", values), u"报告.txt 2026-12-09 09:30");
    EXPECT_EQ(ExpandFields(u"A&&B &&p &x &", values), u"A&B &p &x &");
    EXPECT_EQ(ExpandFields(u"&&&", values), u"&&");
    EXPECT_EQ(ExpandFields(u"[&f]", {}), u"[无标题]");
}

TEST(ChunkNumbered, NumbersTheFirstPieceOfEachLineAndCutsAsChunkText) {
    const std::vector<NumberedLine> pieces = text::ChunkNumbered(std::u16string(150, u'x'), 40);
    ASSERT_EQ(pieces.size(), 4u);
    EXPECT_EQ(pieces[0], (NumberedLine{std::u16string(40, u'x'), 1}));
    EXPECT_EQ(pieces[3], (NumberedLine{std::u16string(30, u'x'), 0}));
    EXPECT_EQ(text::ChunkNumbered(u"a\r\n\nbcd\r\r\n", 2),
              (std::vector<NumberedLine>{{u"a", 1}, {u"", 2}, {u"bc", 3}, {u"d", 0}, {u"", 4}, {u"", 5}}));
    const std::u16string mixed = u"中文abc中\r\n\r\nx\U0001F600yz\u20ac\u20ac中\rq";
    std::vector<std::u16string> cut;
    for (const NumberedLine& line : text::ChunkNumbered(mixed, 3)) cut.push_back(line.text);
    EXPECT_EQ(cut, text::ChunkText(mixed, 3));
    EXPECT_TRUE(text::ChunkNumbered(u"abc", 0).empty());
    // A selection starting after a text numbers its lines from the line it starts in.
    EXPECT_EQ(text::LineNumberAt(u""), 1);
    EXPECT_EQ(text::LineNumberAt(u"a\r\n\nbcd\r"), 4);
    EXPECT_EQ(text::LineNumberAt(u"a\r\nb"), 2);
}

text::PageSetup Awkward() {
    text::PageSetup setup{10, 2000, 0, 155};
    setup.header = {u"&f", u"a=b\nc\r\nd\\n\\", u"中文 & 符号 \U0001F600"};
    setup.footer = {u"", u"第 &p 页 / 共 &P 页", std::u16string(text::maxFieldLength, u'长')};
    setup.lineNumbers = true;
    setup.paperSize = 9;
    return setup;
}

TEST(PageSetupFile, ComesBackExactly) {
    for (const text::PageSetup& setup : {text::PageSetup{}, Awkward()}) {
        EXPECT_EQ(text::ParsePageSetup(text::SerializePageSetup(setup)), setup);
    }
    const std::string file = text::SerializePageSetup(Awkward());
    EXPECT_EQ(text::ParsePageSetup(file + "someday=x\n"), Awkward());  // a later version's key
}

TEST(PageSetupFile, RefusesAnythingButAWholeFile) {
    const std::string file = text::SerializePageSetup(Awkward());
    for (std::size_t size = 0; size < file.size(); ++size) {
        EXPECT_EQ(text::ParsePageSetup(file.substr(0, size)), std::nullopt) << size;
    }
    const auto changed = [&](const std::string& from, const std::string& to) {
        std::string damaged = file;
        return text::ParsePageSetup(damaged.replace(damaged.find(from), from.size(), to));
    };
    EXPECT_EQ(changed("设置 1", "设置 2"), std::nullopt);
    EXPECT_EQ(changed("marginTop=2000", "marginTop=2001"), std::nullopt);
    EXPECT_EQ(changed("marginLeft=10", "marginLeft=-1"), std::nullopt);
    EXPECT_EQ(changed("marginLeft=10", "marginLeft=+10"), std::nullopt);
    EXPECT_EQ(changed("paperSize=9", "paperSize=1001"), std::nullopt);
    EXPECT_EQ(changed("paperSize=9", "paperSize=99999999999"), std::nullopt);
    EXPECT_EQ(changed("landscape=0", "landscape=yes"), std::nullopt);
    EXPECT_EQ(changed("footer.right=", "footer.right=长"), std::nullopt);  // one too long
    EXPECT_EQ(changed("d\\\\n", "d\\x"), std::nullopt);
    EXPECT_EQ(changed("中文", "\xe4\xb8"), std::nullopt);
    EXPECT_EQ(changed("paperSize=9\n", "paperSize=9\nlandscape=1\n"), std::nullopt);  // twice
    EXPECT_EQ(changed("lineNumbers=1\n", "lineNumbers\n"), std::nullopt);
    std::string noise;
    for (unsigned i = 0; i < 4000; ++i) noise += static_cast<char>(i * 2654435761u >> 24);
    EXPECT_EQ(text::ParsePageSetup(noise), std::nullopt);
}

}  // namespace
