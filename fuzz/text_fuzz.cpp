// Fuzzes the text job's text handling: whatever the bytes, decoding a text file gives well-formed
// lines, printed lines lose and invent nothing but line breaks, hold no break, stay within their
// width unless one character is wider; space removal leaves no space.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "text/chunk_text.h"
#include "text/delete_spaces.h"
#include "text/text_encoding.h"
#include "text/text_file_lines.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}


std::u16string WithoutBreaks(std::u16string_view text) {
    std::u16string kept;
    for (char16_t unit : text) {
        if (unit != u'\r' && unit != u'\n') kept += unit;
    }
    return kept;
}

// Bytes as Latin-1, standing in for the system's GB18030 converter.
std::u16string Latin1(std::string_view bytes) {
    std::u16string text;
    for (char byte : bytes) text += static_cast<unsigned char>(byte);
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const int charsPerLine = data[0] % 100;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::u16string input = text::TextFileLines(text::DecodeTextFile(bytes, Latin1).text);
    Check(input.find(u'\0') == std::u16string::npos);

    if (charsPerLine >= 1) {
        std::u16string joined;
        for (const std::u16string& line : text::ChunkText(input, charsPerLine)) {
            Check(line.find_first_of(u"\r\n") == std::u16string::npos);
            std::size_t width = 0;
            for (std::size_t i = 0; i < line.size();) {
                const text::Character character = text::CharacterAt(line, i);
                width += character.bytes;
                i += character.units;
            }
            Check(width <= static_cast<std::size_t>(charsPerLine) || width <= 2);
            joined += line;
        }
        Check(joined == WithoutBreaks(input));
    }

    const std::u16string kept = text::DeleteAllSpaces(input);
    Check(kept.find_first_of(u" \u3000") == std::u16string::npos);
    return 0;
}
