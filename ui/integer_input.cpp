#include "ui/integer_input.h"

#include <climits>

namespace ui {

bool IsIntegerInputChar(char32_t ch) {
    constexpr char32_t firstPrintable = 0x20;
    return ch < firstPrintable || (ch >= U'0' && ch <= U'9') || ch == U'-';
}

int LeadingInteger(std::u16string_view text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    long long value = 0;
    constexpr long long limit = static_cast<long long>(INT_MAX) + 1;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + (text[i] - u'0');
        if (value > limit) value = limit;
    }
    if (negative) return static_cast<int>(-value);
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

}  // namespace ui
