#include "text/text_file_lines.h"

namespace text {

std::string TextFileLines(std::string_view bytes) {
    const std::size_t end = bytes.find_first_of(std::string_view("\0\x1A", 2));
    if (end != std::string_view::npos) bytes = bytes.substr(0, end);

    std::string lines;
    lines.reserve(bytes.size() + bytes.size() / 32 + 2);
    while (!bytes.empty()) {
        const std::size_t lineFeed = bytes.find('\n');
        std::string_view line = bytes.substr(0, lineFeed);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines += line;
        lines += "\r\n";
        if (lineFeed == std::string_view::npos) break;
        bytes.remove_prefix(lineFeed + 1);
    }
    return lines;
}

}  // namespace text
