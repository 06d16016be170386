// Where top-level windows stand on the screen.
#pragma once

#include <windows.h>

namespace ui {

// Shows a window that is already open to the user: restored when minimised, else in front.
void BringForward(HWND window);

// Gives a window its size and puts it in the middle of the primary screen, its top-left corner
// kept on the screen when the window is larger; neither activated nor moved in the Z-order.
void CentreOnScreen(HWND window, int width, int height);

// Puts a window in the middle of the primary screen at the size it has.
void CentreOnScreen(HWND window);

}  // namespace ui
