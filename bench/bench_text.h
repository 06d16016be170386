// The text the printing benchmarks lay out and print: about a megabyte as GBK, in lines of 80 to
// 90 GBK bytes made the same way every run. Plain C++, so that the native benchmarks use it too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace bench {

inline constexpr std::size_t textBytes = 1 << 20;  // as GBK
inline constexpr std::size_t lineBytes = 85;       // without its CR LF

// Characters the text is made of besides ASCII; all of them are in GBK, two bytes each.
inline constexpr char16_t chineseCharacters[] =
    u"墨舟打印文本图片纸张字体页面行距边距横向纵向份数预览设置确定取消"
    u"春夏秋冬东南西北山水日月风云花草树木江河湖海天地人和上下左右前后"
    u"的一是在不了有我这个们中来到时大地为子说生国年着就那要也得里后自";
inline constexpr std::u16string_view asciiWords[] = {u"print", u"line", u"page", u"2024",
                                                     u"GBK",   u"text", u"Mozhou", u"A4",
                                                     u"0123456789", u"font", u"(ok)", u"-"};

// A fixed sequence, so every run makes the same text.
class Sequence {
public:
    std::uint32_t Next(std::uint32_t bound) {
        state_ = state_ * 1664525u + 1013904223u;
        return (state_ >> 8) % bound;
    }

private:
    std::uint32_t state_ = 20240601u;
};

// About textBytes of GBK text: lines of about lineBytes bytes, each ended by CR LF, about two
// thirds of their bytes Chinese characters and the rest ASCII words and spaces.
inline std::u16string MakeWideText() {
    constexpr std::u16string_view chinese(chineseCharacters);
    constexpr auto count = static_cast<std::uint32_t>(chinese.size());
    Sequence sequence;
    std::u16string text;
    std::size_t bytes = 0;
    while (bytes < textBytes) {
        const std::size_t length = lineBytes - 5 + sequence.Next(11);  // 80..90
        std::size_t lineSize = 0;
        while (lineSize < length) {
            std::u16string piece;
            std::size_t pieceSize = 0;
            if (sequence.Next(3) == 0) {
                piece = asciiWords[sequence.Next(std::size(asciiWords))];
                piece += u' ';
                pieceSize = piece.size();
            } else {
                const int run = 1 + static_cast<int>(sequence.Next(6));
                for (int i = 0; i < run; ++i) piece += chinese[sequence.Next(count)];
                pieceSize = 2 * piece.size();
            }
            const std::size_t room = length - lineSize;
            if (pieceSize > room) {
                // The end of the line: as many Chinese characters as fit, and a full stop for an
                // odd byte left, rather than a character cut in two.
                piece.clear();
                pieceSize = 0;
                for (; pieceSize + 2 <= room; pieceSize += 2) piece += chinese[sequence.Next(count)];
                if (pieceSize < room) {
                    piece += u'.';
                    ++pieceSize;
                }
            }
            text += piece;
            lineSize += pieceSize;
        }
        text += u"\r\n";
        bytes += lineSize + 2;
    }
    return text;
}

inline std::vector<std::u16string_view> LinesOf(std::u16string_view text) {
    std::vector<std::u16string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find(u"\r\n", start);
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

}  // namespace bench
