// The delete-spaces print mode's text.
#pragma once

#include <string>
#include <string_view>

namespace text {

// Drops every half-width space and every full-width space (A1 A1) from GBK text. Tabs and line
// breaks stay, double-byte characters are kept whole, and a lead byte left dangling at the end
// is dropped since it is no character.
std::string DeleteAllSpaces(std::string_view gbk);

}  // namespace text
