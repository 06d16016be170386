#include "text/separate_edit_texts.h"

#include <algorithm>
#include <cstddef>
#include <cwctype>

#include "text/gbk.h"

namespace text {
namespace {

constexpr int rulerLines = 18;
constexpr int rulerMarks = 20;
constexpr std::string_view lineBreak = "\r\n";
constexpr std::string_view markGap = "   ";
constexpr char nulByte = 0x00;
constexpr char ctrlZ = 0x1A;
constexpr std::wstring_view textExtension = L".txt";
constexpr std::string_view utf8Mark = "\xEF\xBB\xBF";
constexpr std::wstring_view trimmed = L" \t\r\n";

}  // namespace

std::string SeparateEditTitle(int editWidth, int editHeight) {
    std::string title(titleWidthLabel);
    title += std::to_string(editWidth);
    title += titleHeightLabel;
    title += std::to_string(editHeight);
    title += titleSheetText;
    return title;
}

std::string VerticalRulerText() {
    std::string ruler;
    ruler += lineBreak;
    ruler += lineBreak;
    for (int number = 1; number <= rulerLines; ++number) {
        ruler += std::to_string(number);
        if (number < rulerLines) {
            for (int gap = 0; gap < 3; ++gap) ruler += lineBreak;
        }
    }
    return ruler;
}

std::string HorizontalRulerText() {
    // The ruler is wider than a sheet's 18 columns: its last two marks repeat 17 and 18.
    std::string ruler;
    for (int mark = 1; mark <= rulerMarks; ++mark) {
        const int number = mark <= rulerLines ? mark : mark - 2;
        ruler += markGap;
        ruler += std::to_string(number);
    }
    return ruler;
}

std::string_view BackupTextPrefix(std::string_view gbk) {
    std::size_t at = 0;
    while (at < gbk.size()) {
        const char byte = gbk[at];
        if (byte == nulByte || byte == ctrlZ) break;
        // Trail bytes start at 0x40, so a NUL or Ctrl-Z after a lead byte still ends the text.
        const bool pair = IsLeadByte(byte) && at + 1 < gbk.size() &&
                          static_cast<unsigned char>(gbk[at + 1]) >= firstTrailByte;
        at += pair ? 2 : 1;
    }
    return gbk.substr(0, at);
}

std::u16string BackupText(std::string_view bytes, const Gb18030Converter& fromGbk) {
    if (!bytes.starts_with(utf8Mark)) return fromGbk(BackupTextPrefix(bytes));
    bytes.remove_prefix(utf8Mark.size());
    // In UTF-8 both bytes stand only for themselves.
    return Utf16FromUtf8(bytes.substr(0, std::min(bytes.size(), bytes.find_first_of(std::string_view("\0\x1A", 2)))));
}

std::wstring SaveFailedMessage(std::wstring_view reason, unsigned long errorCode) {
    const std::size_t first = reason.find_first_not_of(trimmed);
    reason = first == std::wstring_view::npos ? std::wstring_view() : reason.substr(first);
    reason = reason.substr(0, reason.find_last_not_of(trimmed) + 1);
    std::wstring message(saveFailedLabel);
    if (reason.empty()) {
        message += errorCodeLabel;
        message += std::to_wstring(errorCode);
    } else {
        message += reason;
    }
    return message;
}

std::wstring SaveAsFileName(std::wstring_view chosen) {
    std::wstring name(chosen);
    const bool hasExtension =
        name.size() >= textExtension.size() &&
        std::equal(textExtension.begin(), textExtension.end(),
                   name.end() - static_cast<std::ptrdiff_t>(textExtension.size()),
                   [](wchar_t a, wchar_t b) { return std::towlower(a) == std::towlower(b); });
    if (!hasExtension) name += textExtension;
    return name;
}

std::wstring SaveAsReplaceQuestion(std::wstring_view fileName) {
    std::wstring question(fileName);
    question += replaceQuestion;
    return question;
}

}  // namespace text
