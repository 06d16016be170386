// Conversions at the Windows boundary. Descriptions and message texts are UTF-8 in the source;
// the program's own text model is GBK bytes, fixed to code page 936 so that it does not depend
// on the system's ANSI code page.
#pragma once

#include <string>
#include <string_view>

namespace ui {

inline constexpr unsigned gbkCodePage = 936;
inline constexpr unsigned gb18030CodePage = 54936;

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view text);  // to UTF-8
std::wstring FromGbk(std::string_view gbk);
std::string ToGbk(std::wstring_view text);
std::wstring FromGb18030(std::string_view bytes);

// The portable code's UTF-16 text and Windows' are the same code units.
inline std::u16string ToUtf16(std::wstring_view text) { return {text.begin(), text.end()}; }
inline std::wstring FromUtf16(std::u16string_view text) { return {text.begin(), text.end()}; }

}  // namespace ui
