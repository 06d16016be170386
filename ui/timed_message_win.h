// A message box that closes itself after a while.
#pragma once

#include <windows.h>

#include <string_view>

namespace ui {

inline constexpr unsigned timedMessageMs = 3000;

// A message box with no owner that closes itself after the timeout. It is not task-modal: the
// program's other windows stay usable while it is up, so another timed box may open meanwhile;
// each closes on its own time. The caller waits until its box is gone.
void ShowTimedMessage(std::wstring_view text, std::wstring_view caption, UINT style,
                      unsigned timeoutMs = timedMessageMs);

}  // namespace ui
