#pragma once

#include <windows.h>

#include <string_view>

#include "ui/handles_win.h"

namespace app {

inline constexpr UINT defaultPromptStyle = MB_OK | MB_ICONINFORMATION;

// Returns the marker when this is the first running instance under the identifier; the caller
// keeps it until the process ends. Otherwise shows the prompt (when asked to) and ends the
// process with exit code 0.
ui::KernelHandle EnsureSingleInstance(std::wstring_view identifier, bool showPrompt,
                                      std::wstring_view prompt, UINT style = defaultPromptStyle);

}  // namespace app
