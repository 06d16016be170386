#include "text/delete_spaces.h"

namespace text {

std::u16string DeleteAllSpaces(std::u16string_view text) {
    constexpr char16_t halfWidthSpace = u' ';
    constexpr char16_t fullWidthSpace = u'\u3000';
    std::u16string kept;
    kept.reserve(text.size());
    for (char16_t unit : text) {
        if (unit != halfWidthSpace && unit != fullWidthSpace) kept += unit;
    }
    return kept;
}

}  // namespace text
