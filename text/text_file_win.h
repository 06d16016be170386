// A text file's text as an edit box takes it.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace text {

// The file's bytes read in their encoding (UTF-8, UTF-16 or GB18030) with every line ended by
// CR LF.
std::wstring TextFileText(std::span<const std::uint8_t> bytes);

}  // namespace text
