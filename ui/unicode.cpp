#include "ui/unicode.h"

#include <cstdint>

namespace ui {

CodePointRead Utf8CodePointAt(std::string_view bytes, std::size_t at) {
    if (at >= bytes.size()) return {};
    bytes.remove_prefix(at);
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(bytes[i]); };
    const std::uint8_t lead = byte(0);
    if (lead < 0x80) return {lead, 1};
    std::size_t length;
    char32_t codePoint;
    char32_t smallest;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, codePoint = lead & 0x1F, smallest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, codePoint = lead & 0x0F, smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, codePoint = lead & 0x07, smallest = 0x10000;
    } else {
        return {};
    }
    if (bytes.size() < length) return {};
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return {};
        codePoint = codePoint << 6 | (byte(i) & 0x3F);
    }
    if (codePoint < smallest || IsSurrogate(codePoint) || codePoint > 0x10FFFF) return {};
    return {codePoint, length};
}

CodePointRead Utf16CodePointAt(std::u16string_view text, std::size_t at) {
    if (at >= text.size()) return {};
    const char16_t first = text[at];
    if (IsHighSurrogate(first) && at + 1 < text.size() && IsLowSurrogate(text[at + 1])) {
        return {0x10000 + ((char32_t{first} - 0xD800) << 10) + (char32_t{text[at + 1]} - 0xDC00), 2};
    }
    return {first, 1};
}

}  // namespace ui
