// The text a text file adds to an edit box.
#pragma once

#include <string>
#include <string_view>

namespace text {

// The file's lines, each ended with CR LF: a line runs up to an LF and loses one CR before it;
// the last line counts even without an LF.
std::u16string TextFileLines(std::u16string_view text);

}  // namespace text
