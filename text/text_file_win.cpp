#include "text/text_file_win.h"

#include "text/text_encoding.h"
#include "text/text_file_lines.h"
#include "ui/text_win.h"

namespace text {

std::wstring TextFileText(std::span<const std::uint8_t> bytes) {
    const std::string_view view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return ui::FromUtf16(TextFileLines(
        DecodeTextFile(view, [](std::string_view gb18030) { return ui::ToUtf16(ui::FromGb18030(gb18030)); })));
}

}  // namespace text
