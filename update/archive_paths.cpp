#include "update/archive_paths.h"

#include <algorithm>
#include <iterator>

namespace update {
namespace {

constexpr std::wstring_view separators = L"/\\";
constexpr wchar_t windowsSeparator = L'\\';
// Not allowed in Windows file names; ':' would also reach a drive or an alternate data stream.
constexpr std::wstring_view forbiddenCharacters = L"<>:\"|?*";
// Characters below the space are control characters, none allowed in a file name.
constexpr wchar_t firstPrintable = L' ';

// Names Windows opens as devices whatever folder they are in and whatever extension follows.
constexpr std::wstring_view deviceNames[] = {
    L"CON",  L"PRN",  L"AUX",  L"NUL",  L"CONIN$", L"CONOUT$",
    L"COM1", L"COM2", L"COM3", L"COM4", L"COM5",   L"COM6", L"COM7", L"COM8", L"COM9",
    L"COM¹", L"COM²", L"COM³",
    L"LPT1", L"LPT2", L"LPT3", L"LPT4", L"LPT5",   L"LPT6", L"LPT7", L"LPT8", L"LPT9",
    L"LPT¹", L"LPT²", L"LPT³",
};

bool IsSeparator(wchar_t character) {
    return separators.find(character) != std::wstring_view::npos;
}

bool IsForbiddenCharacter(wchar_t character) {
    return character < firstPrintable ||
           forbiddenCharacters.find(character) != std::wstring_view::npos;
}

wchar_t AsciiUpper(wchar_t character) {
    return character >= L'a' && character <= L'z' ? character - L'a' + L'A' : character;
}

bool SameIgnoringAsciiCase(std::wstring_view left, std::wstring_view right) {
    return std::equal(left.begin(), left.end(), right.begin(), right.end(),
                      [](wchar_t a, wchar_t b) { return AsciiUpper(a) == AsciiUpper(b); });
}

bool IsDeviceName(std::wstring_view component) {
    // The part before the first dot decides, with spaces before the dot ignored ("NUL .txt").
    std::wstring_view stem = component.substr(0, component.find(L'.'));
    stem = stem.substr(0, stem.find_last_not_of(L' ') + 1);
    const auto isStem = [stem](std::wstring_view device) {
        return SameIgnoringAsciiCase(stem, device);
    };
    return std::any_of(std::begin(deviceNames), std::end(deviceNames), isStem);
}

bool IsAllowedComponent(std::wstring_view component) {
    if (component.empty() || component == L"..") return false;
    if (component.back() == L'.' || component.back() == L' ') return false;
    if (std::any_of(component.begin(), component.end(), IsForbiddenCharacter)) return false;
    return !IsDeviceName(component);
}

}  // namespace

std::optional<std::wstring> SafeArchivePath(std::wstring_view entryName) {
    if (entryName.empty() || IsSeparator(entryName.front())) return std::nullopt;
    const bool folder = IsSeparator(entryName.back());
    if (folder) entryName.remove_suffix(1);

    std::wstring path;
    std::size_t start = 0;
    while (start <= entryName.size()) {
        std::size_t end = start;
        while (end < entryName.size() && !IsSeparator(entryName[end])) ++end;
        const std::wstring_view component = entryName.substr(start, end - start);
        start = end + 1;
        if (component == L".") continue;
        if (!IsAllowedComponent(component)) return std::nullopt;
        if (!path.empty()) path += windowsSeparator;
        path += component;
    }
    if (path.empty()) return std::nullopt;
    if (folder) path += windowsSeparator;
    return path;
}

}  // namespace update
