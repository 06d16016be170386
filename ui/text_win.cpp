#include "ui/text_win.h"

#include <windows.h>

#include <climits>

namespace ui {
namespace {

std::wstring ToWide(unsigned codePage, std::string_view bytes) {
    if (bytes.empty() || bytes.size() > INT_MAX) return {};
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(), length);
    return wide;
}

std::string FromWide(unsigned codePage, std::wstring_view text) {
    if (text.empty() || text.size() > INT_MAX) return {};
    const int size = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return {};
    std::string bytes(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), size, bytes.data(), length, nullptr, nullptr);
    return bytes;
}

}  // namespace

std::wstring Widen(std::string_view utf8) { return ToWide(CP_UTF8, utf8); }
std::string Narrow(std::wstring_view text) { return FromWide(CP_UTF8, text); }
std::wstring FromGbk(std::string_view gbk) { return ToWide(gbkCodePage, gbk); }
std::string ToGbk(std::wstring_view text) { return FromWide(gbkCodePage, text); }
// Wine has no GB18030 converter: there GBK reads all but GB18030's four-byte characters.
std::wstring FromGb18030(std::string_view bytes) {
    if (IsValidCodePage(gb18030CodePage)) return ToWide(gb18030CodePage, bytes);
    return ToWide(gbkCodePage, bytes);
}

}  // namespace ui
