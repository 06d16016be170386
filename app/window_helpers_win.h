// The timed message box and the about box.
#pragma once

#include <windows.h>

#include <string_view>

#include "ui/description.h"

namespace app {

inline constexpr unsigned timedMessageMs = 3000;
inline constexpr unsigned aboutTickMs = 1000;

// A message box with no owner that closes itself after the timeout. It is not task-modal: the
// program's other windows stay usable while it is up; the caller waits until it is gone.
void ShowTimedMessage(std::wstring_view text, std::wstring_view caption, UINT style,
                      unsigned timeoutMs = timedMessageMs);

// Posts a key press to a window without waiting.
void PostKeyDown(HWND window, WPARAM virtualKey);

// The "关于" menu item: starts the about timer and shows the about box until it is closed.
void ShowAboutBox(ui::EventArgs& event);
// The about timer: counts the open about box down and presses its OK at zero.
void OnAboutTick(ui::EventArgs& event);

}  // namespace app
