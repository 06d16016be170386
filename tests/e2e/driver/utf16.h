#pragma once

#include <string>
#include <string_view>

namespace e2e {

// wchar_t strings hold UTF-16 code units, as they do on Windows.
void AppendUtf8(std::string& out, char32_t codePoint);

std::string ToUtf8(std::wstring_view text);

// Bytes that are not valid UTF-8 become U+FFFD rather than failing the command.
std::wstring FromUtf8(std::string_view text);

}  // namespace e2e
