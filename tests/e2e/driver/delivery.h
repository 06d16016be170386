#pragma once

#include <windows.h>

#include <optional>

#include "json_writer.h"

namespace e2e {

// Long enough for a handler that does its work at once; a box it opens answers sooner.
inline constexpr DWORD defaultDeliveryWaitMs = 2000;

// How a message sent on the user's behalf went.
enum class Delivery {
  Handled,  // the target finished handling it before the answer
  Modal,    // the target is still inside its handler, pumping messages (a box or dialog is up)
  Busy,     // the target neither finished nor pumped messages in time
  Closed,   // the window was destroyed (or its process ended) before it answered
};

// Sends without blocking the driver, then learns whether the handler has returned:
// a click that opens a message box returns at once, a click that does not is
// complete when the answer arrives, so the next command sees its effect.
Delivery DeliverMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD waitMs);

void WriteDelivery(JsonWriter& json, Delivery delivery);

// The answer to a message without pointers, or nothing if none came in time. Wine
// refuses a synchronous send across processes for messages that answer with a handle
// (WM_GETFONT, WM_GETICON), but delivers their answer to a callback.
std::optional<LRESULT> AskWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD waitMs);

// Refuses what a user could not do: click a disabled or hidden control, or a control
// of a window that a modal box has disabled.
void RequireClickable(HWND control);

}  // namespace e2e
