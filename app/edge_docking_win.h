// Edge docking of the main window: kept on the screen while dragged, above the others while it
// touches the left, right or top edge, and slid out of view there when the mouse leaves it.
#pragma once

#include <windows.h>

namespace app {

inline constexpr UINT_PTR dockingTimerId = 80911042;

// While set, the window is never slid out; cleared the first time the cursor is inside it.
void SetDockingHoldOpen(bool holdOpen);

// Replaces the window's procedure and starts the docking timer; it ends with the window.
void StartEdgeDocking(HWND window);

}  // namespace app
