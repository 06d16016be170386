#pragma once

#include <windows.h>

#include <string_view>
#include <vector>

namespace e2e {

struct KeyChord {
  std::vector<WORD> modifiers;
  WORD key;
};

// "F10", "Enter", "Alt+F4", "Ctrl+Shift+Tab", "a", "7": names as printed on the
// keys, case-insensitive.
KeyChord ParseKeyChord(std::string_view keys);

bool IsExtendedKey(WORD virtualKey);

}  // namespace e2e
