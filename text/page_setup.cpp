#include "text/page_setup.h"

#include <array>
#include <charconv>

#include "text/text_encoding.h"

namespace text {
namespace {

constexpr std::string_view signature = "墨舟页面设置 1";

enum class Kind { margin, paper, flag, field };

struct Key {
    std::string_view name;
    Kind kind;
    int PageSetup::*number = nullptr;
    bool PageSetup::*flag = nullptr;
    HeaderFooter PageSetup::*part = nullptr;
    std::u16string HeaderFooter::*field = nullptr;
};

// Every setting, in the order they are written.
const std::array keys{
    Key{"marginLeft", Kind::margin, &PageSetup::marginLeft},
    Key{"marginTop", Kind::margin, &PageSetup::marginTop},
    Key{"marginRight", Kind::margin, &PageSetup::marginRight},
    Key{"marginBottom", Kind::margin, &PageSetup::marginBottom},
    Key{"header.left", Kind::field, nullptr, nullptr, &PageSetup::header, &HeaderFooter::left},
    Key{"header.centre", Kind::field, nullptr, nullptr, &PageSetup::header, &HeaderFooter::centre},
    Key{"header.right", Kind::field, nullptr, nullptr, &PageSetup::header, &HeaderFooter::right},
    Key{"footer.left", Kind::field, nullptr, nullptr, &PageSetup::footer, &HeaderFooter::left},
    Key{"footer.centre", Kind::field, nullptr, nullptr, &PageSetup::footer, &HeaderFooter::centre},
    Key{"footer.right", Kind::field, nullptr, nullptr, &PageSetup::footer, &HeaderFooter::right},
    Key{"lineNumbers", Kind::flag, nullptr, &PageSetup::lineNumbers},
    Key{"landscape", Kind::flag, nullptr, &PageSetup::landscape},
    Key{"paperSize", Kind::paper, &PageSetup::paperSize},
};

std::string Escaped(std::string_view value) {
    std::string escaped;
    for (char c : value) {
        if (c == '\\') escaped += "\\\\";
        else if (c == '\n') escaped += "\\n";
        else if (c == '\r') escaped += "\\r";
        else escaped += c;
    }
    return escaped;
}

std::optional<std::string> Unescaped(std::string_view value) {
    std::string text;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\') {
            text += value[i];
            continue;
        }
        if (++i == value.size()) return std::nullopt;
        switch (value[i]) {
            case '\\': text += '\\'; break;
            case 'n': text += '\n'; break;
            case 'r': text += '\r'; break;
            default: return std::nullopt;
        }
    }
    return text;
}

// A number of plain digits, at most max.
std::optional<int> Number(std::string_view value, int max) {
    int number = 0;
    if (value.empty() || value.front() < '0' || value.front() > '9') return std::nullopt;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (error != std::errc() || end != value.data() + value.size() || number > max) return std::nullopt;
    return number;
}

// Stores one setting's value; false when it is not one this setting can have.
bool Store(const Key& key, std::string_view value, PageSetup& setup) {
    switch (key.kind) {
        case Kind::margin:
        case Kind::paper: {
            const auto number = Number(value, key.kind == Kind::margin ? maxMargin : maxPaperSize);
            if (number) setup.*key.number = *number;
            return number.has_value();
        }
        case Kind::flag:
            if (value != "0" && value != "1") return false;
            setup.*key.flag = value == "1";
            return true;
        case Kind::field: {
            const auto text = Unescaped(value);
            if (!text) return false;
            std::u16string field = Utf16FromUtf8(*text);
            if (field.size() > maxFieldLength) return false;
            setup.*key.part.*key.field = std::move(field);
            return true;
        }
    }
    return false;
}

}  // namespace

std::string SerializePageSetup(const PageSetup& setup) {
    std::string file = std::string(signature) + '\n';
    for (const Key& key : keys) {
        std::string value;
        switch (key.kind) {
            case Kind::margin:
            case Kind::paper: value = std::to_string(setup.*key.number); break;
            case Kind::flag: value = setup.*key.flag ? "1" : "0"; break;
            case Kind::field: value = Escaped(Utf8FromUtf16(setup.*key.part.*key.field)); break;
        }
        file.append(key.name).append("=").append(value).append("\n");
    }
    return file;
}

std::optional<PageSetup> ParsePageSetup(std::string_view bytes) {
    if (!IsValidUtf8(bytes)) return std::nullopt;
    PageSetup setup;
    std::array<bool, keys.size()> seen{};
    bool signatureRead = false;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        if (end == std::string_view::npos) return std::nullopt;  // cut short
        const std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end + 1);
        if (!signatureRead) {
            if (line != signature) return std::nullopt;
            signatureRead = true;
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) return std::nullopt;
        const std::string_view name = line.substr(0, equals);
        for (std::size_t i = 0; i < keys.size(); ++i) {
            if (keys[i].name != name) continue;
            if (seen[i] || !Store(keys[i], line.substr(equals + 1), setup)) return std::nullopt;
            seen[i] = true;
        }
    }
    for (bool found : seen) {
        if (!found) return std::nullopt;
    }
    return setup;
}

}  // namespace text
