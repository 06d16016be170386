// What the program says about a text file it could not take whole.
#pragma once

#include <string>
#include <string_view>

#include "text/text_encoding.h"

namespace text {

// Timed boxes: the file was not read at all.
inline constexpr std::string_view fileTooLargeMessage = "文件过大";
inline constexpr std::string_view fileUnreadableMessage = "文件无法读取";
// Status bar: the text was read, but not all of it, or not surely right.
inline constexpr std::string_view textCutMessage = "文件中有结束符，其后的内容未载入";
inline constexpr std::string_view textUnrecognisedMessage = "文件编码无法识别，部分文字可能有误";

// The status message for a decoded text file; empty when it was taken whole and fitted its
// encoding.
std::string TextFileStatus(const DecodedText& decoded);

}  // namespace text
