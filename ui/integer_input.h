// Rules of the input box in integer mode.
#pragma once

#include <string_view>

namespace ui {

// Characters the box accepts as typed: digits and '-'. Control characters (backspace, the
// clipboard shortcuts) always pass, so that the box stays editable.
bool IsIntegerInputChar(char32_t ch);

// The text's leading integer: an optional sign and digits. Anything else, or an empty text,
// gives 0. Values beyond the range of int are held at its ends.
int LeadingInteger(std::u16string_view text);

}  // namespace ui
