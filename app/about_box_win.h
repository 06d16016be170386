// The about box, which counts down and closes itself.
#pragma once

#include <windows.h>

#include "ui/description.h"

namespace app {

inline constexpr unsigned aboutTickMs = 1000;

// Posts a key press to a window without waiting.
void PostKeyDown(HWND window, WPARAM virtualKey);

// The "关于" menu item: starts the about timer and shows the about box until it is closed.
void ShowAboutBox(ui::EventArgs& event);
// The about timer: counts the open about box down and presses its OK at zero.
void OnAboutTick(ui::EventArgs& event);

}  // namespace app
