// The words printed at the top and the bottom of each page: texts in which codes stand for the
// file's name, the page's number, the date and the like, filled in for each page.
#pragma once

#include <string>
#include <string_view>

namespace text {

// What the codes stand for on one page. The date and the time come as the caller writes them.
struct FieldValues {
    std::u16string fileName;
    int page = 0;
    int pageCount = 0;
    std::u16string date;
    std::u16string time;
};

// The name printed for a text that has no file yet.
inline constexpr std::u16string_view untitledName = u"无标题";

// The field with its codes filled in: &f the file's name (untitledName when it has none), &p the
// page's number, &P the number of pages, &d the date, &t the time, && one ampersand. An
// ampersand before any other character, or at the end, stays as it is.
std::u16string ExpandFields(std::u16string_view field, const FieldValues& values);

// A header or a footer: its three parts, printed at the left, in the middle and at the right.
struct HeaderFooter {
    std::u16string left;
    std::u16string centre;
    std::u16string right;

    bool Empty() const { return left.empty() && centre.empty() && right.empty(); }
    bool operator==(const HeaderFooter&) const = default;
};

}  // namespace text
