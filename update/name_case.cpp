#include "update/name_case.h"

#include <iterator>

namespace update {
namespace {

enum class Mapping {
    shift,         // every unit of the range moves by delta
    evenIsUpper,   // pairs: an even unit is the capital, the odd one after it its small letter
    oddIsUpper,    // pairs the other way round
};

struct CaseRange {
    char32_t first;
    char32_t last;
    Mapping mapping;
    int delta = 0;
};

// Small letters with their capitals, as the Unicode data maps them; a single letter is a range
// of one.
constexpr CaseRange caseRanges[] = {
    {0x0061, 0x007A, Mapping::shift, -32},        // a-z
    {0x00E0, 0x00F6, Mapping::shift, -32},        // à-ö
    {0x00F8, 0x00FE, Mapping::shift, -32},        // ø-þ
    {0x00FF, 0x00FF, Mapping::shift, 0x178 - 0xFF},  // ÿ
    {0x0100, 0x012F, Mapping::evenIsUpper},
    {0x0132, 0x0137, Mapping::evenIsUpper},
    {0x0139, 0x0148, Mapping::oddIsUpper},
    {0x014A, 0x0177, Mapping::evenIsUpper},
    {0x0179, 0x017E, Mapping::oddIsUpper},
    {0x0182, 0x0185, Mapping::evenIsUpper},
    {0x01A0, 0x01A5, Mapping::evenIsUpper},
    {0x01CD, 0x01DC, Mapping::oddIsUpper},
    {0x01DE, 0x01EF, Mapping::evenIsUpper},
    {0x01F8, 0x021F, Mapping::evenIsUpper},
    {0x0222, 0x0233, Mapping::evenIsUpper},
    {0x03AC, 0x03AC, Mapping::shift, 0x386 - 0x3AC},  // ά
    {0x03AD, 0x03AF, Mapping::shift, 0x388 - 0x3AD},  // έ ή ί
    {0x03B1, 0x03C1, Mapping::shift, -32},            // α-ρ
    {0x03C2, 0x03C2, Mapping::shift, 0x3A3 - 0x3C2},  // final ς
    {0x03C3, 0x03CB, Mapping::shift, -32},            // σ-ϋ
    {0x03CC, 0x03CC, Mapping::shift, 0x38C - 0x3CC},  // ό
    {0x03CD, 0x03CE, Mapping::shift, 0x38E - 0x3CD},  // ύ ώ
    {0x03D8, 0x03EF, Mapping::evenIsUpper},
    {0x0430, 0x044F, Mapping::shift, -32},  // а-я
    {0x0450, 0x045F, Mapping::shift, -80},  // ѐ-џ
    {0x0460, 0x0481, Mapping::evenIsUpper},
    {0x048A, 0x04BF, Mapping::evenIsUpper},
    {0x04C1, 0x04CE, Mapping::oddIsUpper},
    {0x04CF, 0x04CF, Mapping::shift, 0x4C0 - 0x4CF},
    {0x04D0, 0x052F, Mapping::evenIsUpper},
    {0x0561, 0x0586, Mapping::shift, -48},  // Armenian
    {0x1E00, 0x1E95, Mapping::evenIsUpper},
    {0x1EA0, 0x1EFF, Mapping::evenIsUpper},
    {0x2170, 0x217F, Mapping::shift, -16},  // ⅰ-ⅿ
    {0x24D0, 0x24E9, Mapping::shift, -26},  // ⓐ-ⓩ
    {0xFF41, 0xFF5A, Mapping::shift, -32},  // ａ-ｚ
};

}  // namespace

wchar_t FileNameUpper(wchar_t unit) {
    const auto value = static_cast<char32_t>(unit);
    // The ranges are in order: the first that does not end before the unit is the only candidate.
    const auto* range = std::begin(caseRanges);
    while (range != std::end(caseRanges) && range->last < value) ++range;
    if (range == std::end(caseRanges) || value < range->first) return unit;
    switch (range->mapping) {
    case Mapping::shift: return static_cast<wchar_t>(static_cast<int>(value) + range->delta);
    case Mapping::evenIsUpper: return static_cast<wchar_t>(value & ~char32_t{1});
    case Mapping::oddIsUpper: return static_cast<wchar_t>(value % 2 == 0 ? value - 1 : value);
    }
    return unit;
}

std::wstring FileNameKey(std::wstring_view name) {
    std::wstring key(name);
    for (wchar_t& unit : key) unit = FileNameUpper(unit);
    return key;
}

}  // namespace update
