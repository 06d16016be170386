// Today's date and the time of day as the user's locale writes them in short.
#pragma once

#include <string>

namespace ui {

// Now, in the user's short date format ("2024/5/7"); empty when the system cannot write it.
std::u16string ShortDate();
// Now, in the user's time format without seconds ("14:05"); empty when the system cannot write it.
std::u16string ShortTime();

}  // namespace ui
