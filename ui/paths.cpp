#include "ui/paths.h"

namespace ui {
namespace {

constexpr std::wstring_view separators = L"\\/:";

}  // namespace

std::wstring_view FileNamePart(std::wstring_view path) {
    const std::size_t separator = path.find_last_of(separators);
    return separator == std::wstring_view::npos ? path : path.substr(separator + 1);
}

std::wstring_view FolderPart(std::wstring_view path) {
    const std::size_t separator = path.find_last_of(separators);
    return separator == std::wstring_view::npos ? std::wstring_view() : path.substr(0, separator);
}

}  // namespace ui
