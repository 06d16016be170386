// The text a text file adds to an edit box.
#pragma once

#include <string>
#include <string_view>

namespace text {

// The file's lines, each ended with CR LF: a line runs up to an LF and loses one CR before it;
// the last line counts even without an LF. A NUL or Ctrl-Z byte ends the text.
std::string TextFileLines(std::string_view bytes);

}  // namespace text
