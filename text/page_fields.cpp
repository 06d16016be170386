#include "text/page_fields.h"

namespace text {
namespace {

std::u16string Number(int value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

}  // namespace

std::u16string ExpandFields(std::u16string_view field, const FieldValues& values) {
    std::u16string expanded;
    expanded.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != u'&' || i + 1 == field.size()) {
            expanded += field[i];
            continue;
        }
        switch (field[i + 1]) {
            case u'f': expanded += values.fileName.empty() ? untitledName : values.fileName; break;
            case u'p': expanded += Number(values.page); break;
            case u'P': expanded += Number(values.pageCount); break;
            case u'd': expanded += values.date; break;
            case u't': expanded += values.time; break;
            case u'&': expanded += u'&'; break;
            default: expanded += u'&'; continue;  // the next character is read as itself
        }
        ++i;
    }
    return expanded;
}

}  // namespace text
