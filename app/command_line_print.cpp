#include "app/command_line_print.h"

#include <algorithm>

#include "text/print_messages.h"
#include "text/text_encoding.h"

namespace app {
namespace {

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

bool SameOption(std::u16string_view argument, std::u16string_view name) {
    if (argument.size() != name.size() + 1 || (argument[0] != u'/' && argument[0] != u'-')) return false;
    return std::equal(name.begin(), name.end(), argument.begin() + 1,
                      [](char16_t a, char16_t b) { return a == Lower(b); });
}

bool IsOption(std::u16string_view argument) {
    return argument.size() > 1 && (argument[0] == u'/' || argument[0] == u'-');
}

// Spaces (half- and full-width) do not count in a layout's name: "每页4张" is "每页 4 张".
std::u16string WithoutSpaces(std::u16string_view name) {
    std::u16string kept;
    for (char16_t c : name) {
        if (c != u' ' && c != u'\t' && c != u'\u3000') kept += c;
    }
    return kept;
}

std::optional<picture::PictureLayout> LayoutNamed(std::u16string_view name) {
    const std::u16string wanted = WithoutSpaces(name);
    for (int i = 0; i < picture::pictureLayoutCount; ++i) {
        const auto layout = static_cast<picture::PictureLayout>(i);
        if (!wanted.empty() && WithoutSpaces(text::Utf16FromUtf8(picture::LayoutName(layout))) == wanted) return layout;
    }
    return std::nullopt;
}

std::optional<int> CharsPerLine(std::u16string_view value) {
    if (value.empty() || value.size() > 3) return std::nullopt;
    int number = 0;
    for (char16_t c : value) {
        if (c < u'0' || c > u'9') return std::nullopt;
        number = number * 10 + (c - u'0');
    }
    if (!text::CharsPerLineProblem(number).empty()) return std::nullopt;
    return number;
}

}  // namespace

std::optional<CommandLineRequest> ParseCommandLine(std::span<const std::u16string> arguments) {
    CommandLineRequest request;
    bool printTo = false;
    bool printOption = false;  // /w, /layout or /s given
    std::vector<std::u16string> names;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::u16string& argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (SameOption(argument, u"p") || SameOption(argument, u"pt")) {
            if (request.print) return std::nullopt;
            request.print = true;
            printTo = argument.size() == 3;
        } else if (SameOption(argument, u"w")) {
            const std::optional<int> width = hasValue ? CharsPerLine(arguments[++i]) : std::nullopt;
            if (!width) return std::nullopt;
            request.charsPerLine = *width;
            printOption = true;
        } else if (SameOption(argument, u"layout")) {
            const auto layout = hasValue ? LayoutNamed(arguments[++i]) : std::nullopt;
            if (!layout) return std::nullopt;
            request.layout = *layout;
            printOption = true;
        } else if (SameOption(argument, u"s")) {
            request.silent = true;
            printOption = true;
        } else if (IsOption(argument)) {
            return std::nullopt;
        } else {
            names.push_back(argument);
        }
    }
    if (printOption && !request.print) return std::nullopt;
    if (printTo) {
        // The driver and the port Explorer adds may be empty; the file and the printer may not.
        if (names.size() < 2 || names.size() > 4 || names[1].empty()) return std::nullopt;
        request.printer = names[1];
        names.resize(1);
    }
    if (request.print && names.empty()) return std::nullopt;
    if (std::any_of(names.begin(), names.end(), [](const std::u16string& name) { return name.empty(); })) {
        return std::nullopt;
    }
    request.files = std::move(names);
    return request;
}

bool OnePicturePerPage(picture::PictureLayout layout) {
    using picture::PictureLayout;
    return layout == PictureLayout::stretch || layout == PictureLayout::fit ||
           layout == PictureLayout::fill || layout == PictureLayout::actualSize;
}

bool WildcardMatch(std::u16string_view pattern, std::u16string_view name) {
    // Greedy matching with a way back to the last star: linear in practice, never recursive.
    std::size_t p = 0, n = 0, star = std::u16string_view::npos, resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || Lower(pattern[p]) == Lower(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            star = p++;
            resume = n;
        } else if (star != std::u16string_view::npos) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*') ++p;
    return p == pattern.size();
}

bool HasWildcard(std::u16string_view path) {
    const std::size_t lastPart = path.find_last_of(u"\\/:");
    const std::u16string_view name = lastPart == std::u16string_view::npos ? path : path.substr(lastPart + 1);
    return name.find_first_of(u"*?") != std::u16string_view::npos;
}

int FillingCharsPerLine(int lineWidth, int fullWidthCharWidth) {
    if (fullWidthCharWidth <= 0 || lineWidth <= 0) return text::fewestCharsPerLine;
    const long long fitting = 2LL * (lineWidth / fullWidthCharWidth);
    return static_cast<int>(std::clamp<long long>(fitting, text::fewestCharsPerLine, text::mostCharsPerLine));
}

}  // namespace app
