#pragma once

#include <string>
#include <string_view>

namespace e2e {

// A caption as the user reads it: "是(&Y)" reads "是", "&Save" reads "Save",
// "&&" reads "&", and a tab-separated shortcut ("打开\tCtrl+O") is dropped.
std::wstring ReadableCaption(std::wstring_view caption);

// Tests name buttons the way they look on screen, so either form matches.
bool CaptionMatches(std::wstring_view actual, std::wstring_view wanted);

}  // namespace e2e
