#include "ui/date_time_win.h"

#include <windows.h>

#include <array>

#include "ui/text_win.h"

namespace ui {
namespace {

template <typename Format>
std::u16string Formatted(Format format) {
    std::array<wchar_t, 128> text{};
    const int length = format(text.data(), static_cast<int>(text.size()));
    return length > 0 ? ToUtf16(std::wstring_view(text.data(), static_cast<std::size_t>(length - 1)))
                      : std::u16string();
}

}  // namespace

std::u16string ShortDate() {
    return Formatted([](wchar_t* text, int size) {
        return GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, text, size);
    });
}

std::u16string ShortTime() {
    return Formatted([](wchar_t* text, int size) {
        return GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, nullptr, nullptr, text, size);
    });
}

}  // namespace ui
