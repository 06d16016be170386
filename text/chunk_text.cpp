#include "text/chunk_text.h"

#include <utility>

#include "ui/unicode.h"

namespace text {
namespace {

constexpr char16_t carriageReturn = u'\r';
constexpr char16_t lineFeed = u'\n';
constexpr char16_t lastAscii = 0x7f;
constexpr char16_t euroSign = 0x20ac;  // one byte (0x80) in Windows' GBK

// Cuts one line (without its break) into pieces of at most limit bytes.
void ChunkLine(std::u16string_view line, std::size_t limit, std::vector<std::u16string>& chunks) {
    if (line.empty()) {
        chunks.emplace_back();
        return;
    }
    std::size_t start = 0;
    while (start < line.size()) {
        std::size_t end = start;
        std::size_t bytes = 0;
        while (end < line.size()) {
            const Character character = CharacterAt(line, end);
            if (bytes + character.bytes > limit && end > start) break;
            bytes += character.bytes;
            end += character.units;
            if (bytes >= limit) break;
        }
        chunks.emplace_back(line.substr(start, end - start));
        start = end;
    }
}

// Calls onLine with each of the text's own lines, without its break: the lines end at CR LF, LF
// or a lone CR, and a break at the end of the text leaves an empty last line.
template <typename OnLine>
void ForEachLine(std::u16string_view text, OnLine onLine) {
    for (;;) {
        const std::size_t lineBreak = text.find_first_of(u"\r\n");
        if (lineBreak == std::u16string_view::npos) {
            onLine(text);
            return;
        }
        onLine(text.substr(0, lineBreak));
        const bool crLf = text[lineBreak] == carriageReturn && lineBreak + 1 < text.size() &&
                          text[lineBreak + 1] == lineFeed;
        text.remove_prefix(lineBreak + (crLf ? 2 : 1));
    }
}

}  // namespace

Character CharacterAt(std::u16string_view text, std::size_t position) {
    const char16_t unit = text[position];
    if (unit <= lastAscii || unit == euroSign) return {1, 1};
    return {ui::Utf16CodePointAt(text, position).length, 2};
}

std::vector<std::u16string> ChunkText(std::u16string_view text, int charsPerLine) {
    std::vector<std::u16string> chunks;
    if (charsPerLine < 1) return chunks;
    const auto limit = static_cast<std::size_t>(charsPerLine);
    ForEachLine(text, [&](std::u16string_view line) { ChunkLine(line, limit, chunks); });
    return chunks;
}

std::vector<NumberedLine> ChunkNumbered(std::u16string_view text, int charsPerLine) {
    std::vector<NumberedLine> numbered;
    if (charsPerLine < 1) return numbered;
    const auto limit = static_cast<std::size_t>(charsPerLine);
    int number = 0;
    std::vector<std::u16string> pieces;
    ForEachLine(text, [&](std::u16string_view line) {
        pieces.clear();
        ChunkLine(line, limit, pieces);
        ++number;
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            numbered.push_back({std::move(pieces[i]), i == 0 ? number : 0});
        }
    });
    return numbered;
}

int LineNumberAt(std::u16string_view before) {
    int lines = 0;
    ForEachLine(before, [&lines](std::u16string_view) { ++lines; });
    return lines;
}

}  // namespace text
