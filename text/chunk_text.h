// Cutting a text into the pieces that are printed as lines.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace text {

// Cuts GBK text into chunks of charsPerLine bytes. While at least charsPerLine bytes are left,
// a full chunk is taken; the bytes left after that (possibly none) make the last chunk, so a
// text that ends exactly at a cut, the empty text included, ends with one empty chunk, which
// prints as an empty line.
//
// A cut never splits a double-byte character or a CR LF pair: a cut that would fall inside one
// moves back in front of it, so that chunk is one byte short. A character or pair longer than
// charsPerLine (only possible with 1) is taken whole.
//
// charsPerLine below 1 gives no chunk at all: nothing sensible can be printed with it.
std::vector<std::string> ChunkText(std::string_view gbk, int charsPerLine);

}  // namespace text
