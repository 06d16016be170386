// Reading and writing Unicode's encoding forms by hand, where a conversion must be strict or must
// not depend on the system: UTF-8 read strictly, UTF-16 read a character at a time and written.
#pragma once

#include <cstddef>
#include <string_view>

namespace ui {

constexpr bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
constexpr bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }
constexpr bool IsSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDFFF; }

// A character read from a text: its code point and the bytes or UTF-16 units it takes.
struct CodePointRead {
    char32_t codePoint = 0;
    std::size_t length = 0;
};

// The well-formed UTF-8 sequence at bytes[at] (shortest form, no surrogate, nothing above
// U+10FFFF); length 0 when none starts there or at is past the end.
CodePointRead Utf8CodePointAt(std::string_view bytes, std::size_t at);

// The character at text[at], a surrogate pair as one code point. A surrogate without its partner
// comes back as itself, one unit long, which IsSurrogate tells from any character.
CodePointRead Utf16CodePointAt(std::u16string_view text, std::size_t at);

// Appends a code point to a string of UTF-16 units, as one unit or as a surrogate pair.
template <typename Utf16String>
void AppendUtf16(Utf16String& text, char32_t codePoint) {
    using Unit = typename Utf16String::value_type;
    if (codePoint < 0x10000) {
        text += static_cast<Unit>(codePoint);
        return;
    }
    codePoint -= 0x10000;
    text += static_cast<Unit>(0xD800 + (codePoint >> 10));
    text += static_cast<Unit>(0xDC00 + (codePoint & 0x3FF));
}

}  // namespace ui
