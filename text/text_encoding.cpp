#include "text/text_encoding.h"

#include <algorithm>
#include <cstdint>

namespace text {
namespace {

constexpr std::string_view utf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view utf16LeMark = "\xFF\xFE";
constexpr std::string_view utf16BeMark = "\xFE\xFF";
constexpr char16_t replacement = 0xfffd;

// The code point of the well-formed sequence at the start of bytes and its length; length 0
// when none starts there.
struct Decoded {
    char32_t codePoint;
    std::size_t length;
};

Decoded DecodeUtf8(std::string_view bytes) {
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(bytes[i]); };
    const std::uint8_t lead = byte(0);
    if (lead < 0x80) return {lead, 1};
    std::size_t length;
    char32_t codePoint;
    char32_t smallest;
    if (lead >= 0xc2 && lead <= 0xdf) {
        length = 2, codePoint = lead & 0x1f, smallest = 0x80;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        length = 3, codePoint = lead & 0x0f, smallest = 0x800;
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        length = 4, codePoint = lead & 0x07, smallest = 0x10000;
    } else {
        return {0, 0};
    }
    if (bytes.size() < length) return {0, 0};
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xc0) != 0x80) return {0, 0};
        codePoint = codePoint << 6 | (byte(i) & 0x3f);
    }
    const bool surrogate = codePoint >= 0xd800 && codePoint <= 0xdfff;
    if (codePoint < smallest || surrogate || codePoint > 0x10ffff) return {0, 0};
    return {codePoint, length};
}

void AppendUtf16(std::u16string& text, char32_t codePoint) {
    if (codePoint < 0x10000) {
        text += static_cast<char16_t>(codePoint);
        return;
    }
    codePoint -= 0x10000;
    text += static_cast<char16_t>(0xd800 + (codePoint >> 10));
    text += static_cast<char16_t>(0xdc00 + (codePoint & 0x3ff));
}

std::u16string Utf16FromUtf16Bytes(std::string_view bytes, bool bigEndian) {
    std::u16string text(bytes.size() / 2, u'\0');  // an odd last byte is no character
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto first = static_cast<std::uint8_t>(bytes[2 * i]);
        const auto second = static_cast<std::uint8_t>(bytes[2 * i + 1]);
        text[i] = static_cast<char16_t>(bigEndian ? first << 8 | second : second << 8 | first);
    }
    return text;
}

std::u16string UpToNul(std::u16string text) {
    text.resize(std::min(text.size(), text.find(u'\0')));
    return text;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
    while (!bytes.empty()) {
        const Decoded decoded = DecodeUtf8(bytes);
        if (decoded.length == 0) return false;
        bytes.remove_prefix(decoded.length);
    }
    return true;
}

std::u16string Utf16FromUtf8(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    while (!bytes.empty()) {
        const Decoded decoded = DecodeUtf8(bytes);
        AppendUtf16(text, decoded.length == 0 ? replacement : decoded.codePoint);
        bytes.remove_prefix(std::max<std::size_t>(decoded.length, 1));
    }
    return text;
}

DetectedEncoding DetectTextEncoding(std::string_view bytes) {
    if (bytes.starts_with(utf8Mark)) return {TextEncoding::Utf8, utf8Mark.size()};
    if (bytes.starts_with(utf16LeMark)) return {TextEncoding::Utf16Le, utf16LeMark.size()};
    if (bytes.starts_with(utf16BeMark)) return {TextEncoding::Utf16Be, utf16BeMark.size()};
    const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; });
    return {!ascii && IsValidUtf8(bytes) ? TextEncoding::Utf8 : TextEncoding::Gb18030, 0};
}

std::u16string DecodeTextFile(std::string_view bytes, const Gb18030Converter& fromGb18030) {
    const DetectedEncoding detected = DetectTextEncoding(bytes);
    bytes.remove_prefix(detected.markLength);
    switch (detected.encoding) {
        case TextEncoding::Utf8: return UpToNul(Utf16FromUtf8(bytes));
        case TextEncoding::Utf16Le: return UpToNul(Utf16FromUtf16Bytes(bytes, false));
        case TextEncoding::Utf16Be: return UpToNul(Utf16FromUtf16Bytes(bytes, true));
        case TextEncoding::Gb18030: break;
    }
    // NUL and Ctrl-Z are never part of a GB18030 character.
    return fromGb18030(bytes.substr(0, std::min(bytes.size(), bytes.find_first_of(std::string_view("\0\x1A", 2)))));
}

}  // namespace text
