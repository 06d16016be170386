// The message loops of the program's threads: every key press is first offered to the KeyDown
// handler of the window it is for, and windows built from a description get dialog keys.
#pragma once

#include <functional>

namespace ui {

// Runs the message loop until WM_QUIT; returns its exit code.
int RunMessageLoop();

// Handles every message that is waiting, without blocking; a quit request stays queued.
void ProcessPendingMessages();

// Runs the message loop while a modal window is up, until done() holds; false when a quit
// request came first (it stays queued for the main loop).
bool RunModalLoop(const std::function<bool()>& done);

}  // namespace ui
