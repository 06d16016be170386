// The delete-spaces print mode's text.
#pragma once

#include <string>
#include <string_view>

namespace text {

// Drops every half-width space and every full-width space (U+3000) from the text. Tabs and line
// breaks stay.
std::u16string DeleteAllSpaces(std::u16string_view text);

}  // namespace text
