// Cutting a text into the lines that are printed for it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace text {

// Bytes a character counts for when a line is measured: its length in GBK, where characters
// outside ASCII take two bytes. Characters GBK has no code for count two as well, like any
// full-width character, and so does a surrogate pair, which is one character.
struct Character {
    std::size_t units;  // UTF-16 code units: 2 for a surrogate pair, else 1
    std::size_t bytes;
};
Character CharacterAt(std::u16string_view text, std::size_t position);

// The lines printed for a text at charsPerLine bytes a line. The text's own lines end at CR LF,
// LF or a lone CR, and each is measured from its own start: a line of at most charsPerLine
// bytes is printed as it is, a longer one is cut every charsPerLine bytes, never inside a
// character (a cut that would fall inside one moves in front of it). A character longer than
// charsPerLine (a full-width one at 1) is taken whole. An empty line stays an empty line, and a
// break at the end of the text leaves an empty last line, as on the screen.
//
// charsPerLine below 1 gives no line at all: nothing sensible can be printed with it.
std::vector<std::u16string> ChunkText(std::u16string_view text, int charsPerLine);

// A printed line with the number of the text's own line it comes from: 1-based on the first
// piece of each of the text's lines (an empty line keeps its number too), 0 on the pieces that
// continue it.
struct NumberedLine {
    std::u16string text;
    int number = 0;
    bool operator==(const NumberedLine&) const = default;
};

// The lines ChunkText prints for the text, cut exactly as it cuts them, with their numbers.
std::vector<NumberedLine> ChunkNumbered(std::u16string_view text, int charsPerLine);

// The number of the text's own line that a text following this one starts in: one more than
// the line breaks in it (CR LF counting once).
int LineNumberAt(std::u16string_view before);

}  // namespace text
