// Today's date and the time now as the user's settings write them short.
#pragma once

#include <string>

namespace ui {

std::u16string ShortDate();  // e.g. 2026/12/9
std::u16string ShortTime();  // e.g. 10:31, without seconds

}  // namespace ui
