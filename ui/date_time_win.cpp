#include "ui/date_time_win.h"

#include <windows.h>

namespace ui {
namespace {

// A format call that writes into the buffer it is given and returns the length with the end mark.
template <typename Format>
std::u16string Formatted(Format format) {
    wchar_t buffer[128] = {};
    const int length = format(buffer, static_cast<int>(std::size(buffer)));
    if (length <= 1) return {};
    return std::u16string(buffer, buffer + length - 1);
}

}  // namespace

std::u16string ShortDate() {
    return Formatted([](wchar_t* buffer, int size) {
        return GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, buffer, size, nullptr);
    });
}

std::u16string ShortTime() {
    return Formatted([](wchar_t* buffer, int size) {
        return GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, TIME_NOSECONDS, nullptr, nullptr, buffer, size);
    });
}

}  // namespace ui
