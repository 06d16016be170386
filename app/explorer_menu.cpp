#include "app/explorer_menu.h"

#include <array>

namespace app {
namespace {

// .txt; BMP and its DIB name; JPEG by its four usual names; PNG; GIF; icons and cursors; PCX;
// WebP.
constexpr std::array<std::string_view, 13> extensions{
    ".txt", ".bmp", ".dib", ".jpg", ".jpeg", ".jpe", ".jfif",
    ".png", ".gif", ".ico", ".cur", ".pcx", ".webp",
};

std::wstring Quoted(std::wstring_view text) {
    std::wstring quoted;
    quoted.reserve(text.size() + 2);
    quoted += L'"';
    quoted += text;
    quoted += L'"';
    return quoted;
}

}  // namespace

std::span<const std::string_view> ExplorerMenuExtensions() { return extensions; }

std::wstring ExplorerPrintCommand(std::wstring_view program) {
    return Quoted(program) + L" /p \"%1\"";
}

std::wstring ExplorerPrintToCommand(std::wstring_view program) {
    return Quoted(program) + L" /pt \"%1\" \"%2\" \"%3\" \"%4\"";
}

}  // namespace app
