#include "ui/file_filter.h"

#include <vector>

namespace ui {

std::wstring DialogFilter(std::wstring_view barSeparated) {
    std::vector<std::wstring_view> fields;
    while (!barSeparated.empty()) {
        const std::size_t bar = barSeparated.find(L'|');
        fields.push_back(barSeparated.substr(0, bar));
        if (bar == std::wstring_view::npos) break;
        barSeparated.remove_prefix(bar + 1);
    }
    // Trailing bars ("...|*.*||") end the list rather than add empty entries.
    while (!fields.empty() && fields.back().empty()) fields.pop_back();
    if (fields.size() % 2 != 0) fields.push_back(fields.back());

    std::wstring filter;
    for (std::wstring_view field : fields) {
        filter += field;
        filter += L'\0';
    }
    filter += L'\0';
    return filter;
}

}  // namespace ui
