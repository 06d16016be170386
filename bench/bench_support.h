// What the printing benchmarks share: the text they print, about a megabyte of GBK text in lines
// of 80 to 90 bytes made the same way every run, and the clock.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace bench {

inline constexpr std::size_t textBytes = 1 << 20;
inline constexpr std::size_t lineBytes = 85;  // without its CR LF
inline constexpr UINT gbkCodePage = 936;

// Characters the text is made of besides ASCII; all of them are in GBK.
inline constexpr wchar_t chineseCharacters[] =
    L"墨舟打印文本图片纸张字体页面行距边距横向纵向份数预览设置确定取消"
    L"春夏秋冬东南西北山水日月风云花草树木江河湖海天地人和上下左右前后"
    L"的一是在不了有我这个们中来到时大地为子说生国年着就那要也得里后自";
inline constexpr const char* asciiWords[] = {"print", "line", "page", "2024", "GBK", "text",
                                      "Mozhou", "A4", "0123456789", "font", "(ok)", "-"};

// A fixed sequence, so every run prints the same text.
class Sequence {
public:
    std::uint32_t Next(std::uint32_t bound) {
        state_ = state_ * 1664525u + 1013904223u;
        return (state_ >> 8) % bound;
    }

private:
    std::uint32_t state_ = 20240601u;
};

inline std::string Encode(std::wstring_view text, UINT codePage) {
    const int size = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(std::max(size, 0)), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
}

inline std::string ToGbk(std::wstring_view text) { return Encode(text, gbkCodePage); }

// Output goes out as UTF-8 whatever Wine's code page.
inline std::string Utf8(std::wstring_view text) { return Encode(text, CP_UTF8); }

// About textBytes of GBK text: lines of about lineBytes bytes, each ended by CR LF, about two
// thirds of their bytes Chinese characters and the rest ASCII words and spaces.
inline std::string MakeText() {
    std::vector<std::string> chinese;
    for (const wchar_t character : std::wstring_view(chineseCharacters)) {
        chinese.push_back(ToGbk(std::wstring_view(&character, 1)));
    }
    Sequence sequence;
    std::string text;
    text.reserve(textBytes + 2 * lineBytes);
    while (text.size() < textBytes) {
        const std::size_t length = lineBytes - 5 + sequence.Next(11);  // 80..90
        std::string line;
        while (line.size() < length) {
            std::string piece;
            if (sequence.Next(3) == 0) {
                piece = asciiWords[sequence.Next(std::size(asciiWords))];
                piece += ' ';
            } else {
                const int run = 1 + static_cast<int>(sequence.Next(6));
                for (int i = 0; i < run; ++i) piece += chinese[sequence.Next(static_cast<std::uint32_t>(chinese.size()))];
            }
            const std::size_t room = length - line.size();
            if (piece.size() > room) {
                // The end of the line: as many Chinese characters as fit, and a full stop for an
                // odd byte left, rather than a character cut in two.
                piece.clear();
                while (piece.size() + 2 <= room) {
                    piece += chinese[sequence.Next(static_cast<std::uint32_t>(chinese.size()))];
                }
                if (piece.size() < room) piece += '.';
            }
            line += piece;
        }
        text += line;
        text += "\r\n";
    }
    return text;
}

inline std::vector<std::string_view> LinesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

inline LONGLONG Now() {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return counter.QuadPart;
}

inline double Seconds(LONGLONG ticks) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(ticks) / static_cast<double>(frequency.QuadPart);
}

}  // namespace bench
