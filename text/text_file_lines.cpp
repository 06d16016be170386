#include "text/text_file_lines.h"

namespace text {

std::u16string TextFileLines(std::u16string_view text) {
    std::u16string lines;
    lines.reserve(text.size() + text.size() / 32 + 2);
    while (!text.empty()) {
        const std::size_t lineFeed = text.find(u'\n');
        std::u16string_view line = text.substr(0, lineFeed);
        if (!line.empty() && line.back() == u'\r') line.remove_suffix(1);
        lines += line;
        lines += u"\r\n";
        if (lineFeed == std::u16string_view::npos) break;
        text.remove_prefix(lineFeed + 1);
    }
    return lines;
}

}  // namespace text
