// How a text file is written: recognised from its bytes when it is loaded.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace text {

enum class TextEncoding { Utf8, Utf16Le, Utf16Be, Gb18030 };

struct DetectedEncoding {
    TextEncoding encoding;
    std::size_t markLength;  // bytes of the byte-order mark, 0 without one
};

// In this order: a UTF-8, UTF-16 LE or UTF-16 BE byte-order mark; else UTF-16 without a mark
// when zero bytes stand at odd (LE) or even (BE) places and hardly at the others, as ASCII and
// line breaks leave them; else UTF-8 when the whole text is valid UTF-8 and not plain ASCII;
// else GB18030, which reads every GBK text as GBK and any byte sequence somehow.
DetectedEncoding DetectTextEncoding(std::string_view bytes);

// Whether the bytes are well-formed UTF-8: shortest forms only, no surrogates, nothing above
// U+10FFFF.
bool IsValidUtf8(std::string_view bytes);

// UTF-8 to UTF-16; each byte that is no part of a well-formed sequence becomes U+FFFD.
std::u16string Utf16FromUtf8(std::string_view bytes);

// Whether the bytes are GB18030 as Windows' code pages write it: ASCII, the euro sign 0x80, pairs
// of a lead byte and a trail byte, and four-byte sequences.
bool IsValidGb18030(std::string_view bytes);

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf8FromUtf16(std::u16string_view text);

// A text file's text in UTF-16, read in its encoding, up to its end: a NUL character, or in a
// GB18030 text also a Ctrl-Z byte. GB18030 is left to the system's converter.
struct DecodedText {
    std::u16string text;
    bool cut = false;           // something other than NUL and Ctrl-Z followed the end
    bool unrecognised = false;  // the bytes read do not fit their encoding
};
using Gb18030Converter = std::function<std::u16string(std::string_view)>;
DecodedText DecodeTextFile(std::string_view bytes, const Gb18030Converter& fromGb18030);

// The bytes a text is saved as: GBK as before when GBK holds all of it (gbk is the system's
// conversion and gbkReadBack that read back, which differs when a character was lost), else
// UTF-8 with a byte-order mark, which the program's readers recognise.
std::string SavedTextBytes(std::u16string_view text, std::string_view gbk, std::u16string_view gbkReadBack);

}  // namespace text
