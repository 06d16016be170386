// The page setup the user chose for texts: margins, header and footer, line numbers, the paper
// and its orientation; kept in a small UTF-8 file between runs.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "text/page_fields.h"

namespace text {

struct PageSetup {
    int marginLeft = 0;  // 0.1 mm
    int marginTop = 0;
    int marginRight = 0;
    int marginBottom = 0;
    HeaderFooter header;
    HeaderFooter footer;
    bool lineNumbers = false;
    bool landscape = false;
    int paperSize = 0;  // DMPAPER_*, 0 for the printer's own paper

    bool operator==(const PageSetup&) const = default;
};

// What a page setup file may hold.
inline constexpr int maxMargin = 2000;  // 0.1 mm
inline constexpr int maxPaperSize = 1000;
inline constexpr std::size_t maxFieldLength = 256;  // UTF-16 units, each part of a header or footer

// The file's text: the line "墨舟页面设置 1", then a line key=value for each setting, each line
// ending in LF. In values a backslash, LF and CR are written \\, \n and \r; nothing else is
// escaped. Settings within the limits above come back exactly from ParsePageSetup; a header or
// footer holding a lone surrogate comes back with U+FFFD in its place.
std::string SerializePageSetup(const PageSetup& setup);

// The page setup in a file's bytes; nullopt when they are not such a file whole: another first
// line, bytes that are not UTF-8, a line without its LF at the end, a setting missing or written
// twice, a number out of its range, a part of a header or footer longer than maxFieldLength, a
// bad escape. Keys this version does not know are passed over.
std::optional<PageSetup> ParsePageSetup(std::string_view bytes);

}  // namespace text
