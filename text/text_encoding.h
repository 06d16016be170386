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

// In this order: a UTF-8, UTF-16 LE or UTF-16 BE byte-order mark; else UTF-8 when the whole
// text is valid UTF-8 and not plain ASCII; else GB18030, which reads every GBK text as GBK and
// any byte sequence somehow.
DetectedEncoding DetectTextEncoding(std::string_view bytes);

// Whether the bytes are well-formed UTF-8: shortest forms only, no surrogates, nothing above
// U+10FFFF.
bool IsValidUtf8(std::string_view bytes);

// UTF-8 to UTF-16; each byte that is no part of a well-formed sequence becomes U+FFFD.
std::u16string Utf16FromUtf8(std::string_view bytes);

// A text file's text in UTF-16, read in its encoding, up to its end: a NUL character, or in a
// GB18030 text also a Ctrl-Z byte. GB18030 is left to the system's converter.
using Gb18030Converter = std::function<std::u16string(std::string_view)>;
std::u16string DecodeTextFile(std::string_view bytes, const Gb18030Converter& fromGb18030);

}  // namespace text
