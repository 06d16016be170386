// File dialog filters written as "description|pattern|description|pattern".
#pragma once

#include <string>
#include <string_view>

namespace ui {

// The filter as the file dialogs take it: fields separated and ended by NUL, the list ended by
// an empty field. A description left without a pattern at the end ("*.txt" alone) serves as its
// own pattern, so the files it names are still listed.
std::wstring DialogFilter(std::wstring_view barSeparated);

}  // namespace ui
