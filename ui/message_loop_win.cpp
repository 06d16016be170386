#include "ui/message_loop_win.h"

#include <windows.h>

#include "ui/window_win.h"

namespace ui {
namespace {

void HandleMessage(MSG& message) {
    if (Window::TakeKey(message)) return;
    HWND root = GetAncestor(message.hwnd, GA_ROOT);
    if (Window::BuiltByRuntime(root) && IsDialogMessageW(root, &message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

}  // namespace

int RunMessageLoop() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) HandleMessage(message);
    return static_cast<int>(message.wParam);
}

bool RunModalLoop(const std::function<bool()>& done) {
    MSG message;
    while (!done()) {
        if (GetMessageW(&message, nullptr, 0, 0) <= 0) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        HandleMessage(message);
    }
    return true;
}

void ProcessPendingMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (Window::TakeKey(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace ui
