// Splitting a Windows path into its folder and its last part.
#pragma once

#include <string_view>

namespace ui {

// The part after the last backslash, slash or drive colon; the whole path when it has none.
std::wstring_view FileNamePart(std::wstring_view path);
// The part before the last separator, without it; empty when the path has none.
std::wstring_view FolderPart(std::wstring_view path);

}  // namespace ui
