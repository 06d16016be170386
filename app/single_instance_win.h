#pragma once

#include <windows.h>

#include <string_view>

namespace app {

inline constexpr UINT defaultPromptStyle = MB_OK | MB_ICONINFORMATION;

// Returns when this is the first running instance under the identifier; the marker it creates
// lives until the process ends. Otherwise shows the prompt (when asked to) and ends the process
// with exit code 0.
void EnsureSingleInstance(std::wstring_view identifier, bool showPrompt, std::wstring_view prompt,
                          UINT style = defaultPromptStyle);

}  // namespace app
