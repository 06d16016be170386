#include "text/text_encoding.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "ui/unicode.h"

namespace text {
namespace {

constexpr std::string_view utf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view utf16LeMark = "\xFF\xFE";
constexpr std::string_view utf16BeMark = "\xFE\xFF";
constexpr char16_t replacement = 0xfffd;
// Where a text ends before its last byte, and what may stand after that end without loss.
constexpr std::string_view endBytes("\0\x1A", 2);
constexpr std::u16string_view endUnits(u"\0\x1A", 2);
// The bytes looked at to tell UTF-16 without a mark: a few lines.
constexpr std::size_t utf16SampleBytes = 1024;

std::u16string Utf16FromUtf16Bytes(std::string_view bytes, bool bigEndian) {
    std::u16string text(bytes.size() / 2, u'\0');  // an odd last byte is no character
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto first = static_cast<std::uint8_t>(bytes[2 * i]);
        const auto second = static_cast<std::uint8_t>(bytes[2 * i + 1]);
        text[i] = static_cast<char16_t>(bigEndian ? first << 8 | second : second << 8 | first);
    }
    return text;
}

bool IsWellFormedUtf16(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const ui::CodePointRead character = ui::Utf16CodePointAt(text, i);
        if (ui::IsSurrogate(character.codePoint)) return false;
        i += character.length;
    }
    return true;
}

// The text up to its first NUL; cut when more than NULs and Ctrl-Zs stood after it.
DecodedText UpToNul(std::u16string text) {
    const std::size_t end = std::min(text.size(), text.find(u'\0'));
    DecodedText decoded;
    decoded.cut = std::u16string_view(text).substr(end).find_first_not_of(endUnits) != std::u16string_view::npos;
    text.resize(end);
    decoded.text = std::move(text);
    return decoded;
}

// Zero bytes mostly at one parity: the high bytes of ASCII characters and line breaks in UTF-16.
// "一" (U+4E00) and its like put a few at the other.
std::optional<TextEncoding> UnmarkedUtf16(std::string_view bytes) {
    const std::size_t pairs = std::min(bytes.size(), utf16SampleBytes) / 2;
    std::size_t zeros[2] = {0, 0};
    for (std::size_t i = 0; i < 2 * pairs; ++i) {
        if (bytes[i] == '\0') ++zeros[i % 2];
    }
    for (const std::size_t high : {1u, 0u}) {
        const std::size_t many = zeros[high];
        const std::size_t few = zeros[1 - high];
        if (many >= 2 && many >= 4 * few && many * 16 >= pairs) {
            return high == 1 ? TextEncoding::Utf16Le : TextEncoding::Utf16Be;
        }
    }
    return std::nullopt;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = ui::Utf8CodePointAt(bytes, i).length;
        if (length == 0) return false;
        i += length;
    }
    return true;
}

bool IsValidGb18030(std::string_view bytes) {
    const auto at = [&](std::size_t i) { return static_cast<std::uint8_t>(bytes[i]); };
    const auto isDigit = [](std::uint8_t byte) { return byte >= 0x30 && byte <= 0x39; };
    const auto isLead = [](std::uint8_t byte) { return byte >= 0x81 && byte <= 0xfe; };
    for (std::size_t i = 0; i < bytes.size();) {
        if (at(i) <= 0x80) {
            ++i;
        } else if (!isLead(at(i)) || i + 1 == bytes.size()) {
            return false;
        } else if (isDigit(at(i + 1))) {
            if (i + 3 >= bytes.size() || !isLead(at(i + 2)) || !isDigit(at(i + 3))) return false;
            i += 4;
        } else if (at(i + 1) >= 0x40 && at(i + 1) != 0x7f && at(i + 1) != 0xff) {
            i += 2;
        } else {
            return false;
        }
    }
    return true;
}

std::u16string Utf16FromUtf8(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        const ui::CodePointRead decoded = ui::Utf8CodePointAt(bytes, i);
        ui::AppendUtf16(text, decoded.length == 0 ? replacement : decoded.codePoint);
        i += std::max<std::size_t>(decoded.length, 1);
    }
    return text;
}

std::string Utf8FromUtf16(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(text.size() * 3);
    for (std::size_t i = 0; i < text.size();) {
        const ui::CodePointRead decoded = ui::Utf16CodePointAt(text, i);
        const char32_t codePoint = ui::IsSurrogate(decoded.codePoint) ? replacement : decoded.codePoint;
        i += decoded.length;
        const auto put = [&](char32_t value) { bytes += static_cast<char>(value); };
        if (codePoint < 0x80) {
            put(codePoint);
        } else if (codePoint < 0x800) {
            put(0xc0 | codePoint >> 6), put(0x80 | (codePoint & 0x3f));
        } else if (codePoint < 0x10000) {
            put(0xe0 | codePoint >> 12), put(0x80 | (codePoint >> 6 & 0x3f)), put(0x80 | (codePoint & 0x3f));
        } else {
            put(0xf0 | codePoint >> 18), put(0x80 | (codePoint >> 12 & 0x3f));
            put(0x80 | (codePoint >> 6 & 0x3f)), put(0x80 | (codePoint & 0x3f));
        }
    }
    return bytes;
}

DetectedEncoding DetectTextEncoding(std::string_view bytes) {
    if (bytes.starts_with(utf8Mark)) return {TextEncoding::Utf8, utf8Mark.size()};
    if (bytes.starts_with(utf16LeMark)) return {TextEncoding::Utf16Le, utf16LeMark.size()};
    if (bytes.starts_with(utf16BeMark)) return {TextEncoding::Utf16Be, utf16BeMark.size()};
    if (const std::optional<TextEncoding> utf16 = UnmarkedUtf16(bytes)) return {*utf16, 0};
    const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; });
    return {!ascii && IsValidUtf8(bytes) ? TextEncoding::Utf8 : TextEncoding::Gb18030, 0};
}

DecodedText DecodeTextFile(std::string_view bytes, const Gb18030Converter& fromGb18030) {
    const DetectedEncoding detected = DetectTextEncoding(bytes);
    bytes.remove_prefix(detected.markLength);
    DecodedText decoded;
    switch (detected.encoding) {
        case TextEncoding::Utf8: {
            const std::string_view read = bytes.substr(0, std::min(bytes.size(), bytes.find('\0')));
            decoded = UpToNul(Utf16FromUtf8(bytes));
            decoded.unrecognised = !IsValidUtf8(read);
            return decoded;
        }
        case TextEncoding::Utf16Le:
        case TextEncoding::Utf16Be:
            decoded = UpToNul(Utf16FromUtf16Bytes(bytes, detected.encoding == TextEncoding::Utf16Be));
            decoded.unrecognised = bytes.size() % 2 != 0 || !IsWellFormedUtf16(decoded.text);
            return decoded;
        case TextEncoding::Gb18030: break;
    }
    // NUL and Ctrl-Z are never part of a GB18030 character.
    const std::string_view read = bytes.substr(0, std::min(bytes.size(), bytes.find_first_of(endBytes)));
    decoded.text = fromGb18030(read);
    decoded.cut = bytes.substr(read.size()).find_first_not_of(endBytes) != std::string_view::npos;
    decoded.unrecognised = !IsValidGb18030(read);
    return decoded;
}

std::string SavedTextBytes(std::u16string_view text, std::string_view gbk, std::u16string_view gbkReadBack) {
    if (gbkReadBack == text) return std::string(gbk);
    return std::string(utf8Mark) + Utf8FromUtf16(text);
}

}  // namespace text
