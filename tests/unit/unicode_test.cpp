#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "ui/hex.h"
#include "ui/unicode.h"

namespace {

TEST(Utf8CodePointAt, ReadsShortestFormsOnlyAndNothingPastU10FFFF) {
    const std::string_view text = "a\xC2\x80\xE4\xB8\x80\xF4\x8F\xBF\xBF";
    EXPECT_EQ(ui::Utf8CodePointAt(text, 0).codePoint, U'a');
    EXPECT_EQ(ui::Utf8CodePointAt(text, 1).codePoint, 0x80u);
    EXPECT_EQ(ui::Utf8CodePointAt(text, 3).codePoint, U'一');
    EXPECT_EQ(ui::Utf8CodePointAt(text, 6).codePoint, 0x10FFFFu);
    EXPECT_EQ(ui::Utf8CodePointAt(text, 6).length, 4u);
    EXPECT_EQ(ui::Utf8CodePointAt(text, text.size()).length, 0u);
    // overlong, a surrogate, past U+10FFFF, cut short, a lone continuation byte
    for (const char* bad : {"\xC0\x80", "\xE0\x80\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE4\xB8", "\x80"}) {
        EXPECT_EQ(ui::Utf8CodePointAt(bad, 0).length, 0u) << bad;
    }
}

TEST(Utf16CodePointAt, ReadsAPairAsOneCharacterAndALoneSurrogateAsItself) {
    std::u16string text = u"a";
    ui::AppendUtf16(text, U'𠀀');
    ui::AppendUtf16(text, U'一');
    EXPECT_EQ(text, u"a𠀀一");
    EXPECT_EQ(ui::Utf16CodePointAt(text, 1).codePoint, U'𠀀');
    EXPECT_EQ(ui::Utf16CodePointAt(text, 1).length, 2u);
    EXPECT_EQ(ui::Utf16CodePointAt(text, 3).codePoint, U'一');

    const std::u16string lone = {0xDC00, 0xD800};
    for (std::size_t at : {0u, 1u}) {
        EXPECT_TRUE(ui::IsSurrogate(ui::Utf16CodePointAt(lone, at).codePoint));
        EXPECT_EQ(ui::Utf16CodePointAt(lone, at).length, 1u);
    }
}

TEST(Hex, ReadsDigitsOfEitherCaseAndNothingElse) {
    EXPECT_EQ(ui::HexByte('a', 'F'), 0xAF);
    EXPECT_EQ(ui::HexByte('0', '9'), 0x09);
    EXPECT_FALSE(ui::HexByte('g', '0'));
    EXPECT_FALSE(ui::HexByte('0', ' '));
    static_assert(ui::BytesFromHex<2>("00fF") == std::array<std::uint8_t, 2>{0x00, 0xFF});
    EXPECT_FALSE(ui::BytesFromHex<2>("00f"));
    EXPECT_FALSE(ui::BytesFromHex<2>("00fF0"));
    EXPECT_FALSE(ui::BytesFromHex<2>("0x0F"));
}

}  // namespace
