#include "app/edge_docking_win.h"

#include "app/edge_docking.h"

namespace app {
namespace {

constexpr wchar_t taskbarClass[] = L"Shell_TrayWnd";

struct DockingState {
    HWND window = nullptr;
    WNDPROC previousProcedure = nullptr;
    int windowWidth = 0;
    int windowHeight = 0;
    ScreenSize screen;
    bool topmost = false;
    bool holdOpen = false;
};

DockingState docking;

Bounds BoundsOf(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

int TaskbarHeight() {
    HWND taskbar = FindWindowW(taskbarClass, nullptr);
    RECT rect;
    if (taskbar == nullptr || !GetWindowRect(taskbar, &rect)) return fallbackTaskbarHeight;
    return rect.bottom - rect.top;
}

void SetTopmost(HWND window, bool topmost) {
    SetWindowPos(window, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// Every step is a real move so that the window is seen sliding.
void RunSlide(HWND window, Bounds at, const Slide& slide, int width, int height) {
    for (int step = 0; step < slide.steps; ++step) {
        at.left += slide.dx;
        at.top += slide.dy;
        MoveWindow(window, at.left, at.top, width, height, FALSE);
    }
}

LRESULT CALLBACK DockingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const bool measured = docking.windowWidth > 0 && docking.windowHeight > 0 &&
                          docking.screen.width > 0 && docking.screen.height > 0;
    if (measured && message == WM_MOVING) {
        auto* rect = reinterpret_cast<RECT*>(lParam);
        const Bounds kept = ClampToScreen(BoundsOf(*rect), docking.windowWidth,
                                          docking.windowHeight, docking.screen);
        *rect = {kept.left, kept.top, kept.right, kept.bottom};
    } else if (measured && message == WM_GETMINMAXINFO) {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        const TrackingLimits limits = DockingLimits(docking.screen, TaskbarHeight());
        info->ptMinTrackSize = {limits.minWidth, limits.minHeight};
        info->ptMaxTrackSize = {limits.maxWidth, limits.maxHeight};
    }
    return CallWindowProcW(docking.previousProcedure, window, message, wParam, lParam);
}

// Runs about a hundred times a second: when nothing moves it reads one rectangle, the screen
// size and the cursor, and changes nothing.
void CALLBACK DockingTick(HWND window, UINT, UINT_PTR, DWORD) {
    RECT rect;
    if (!GetWindowRect(window, &rect)) return;
    const Bounds bounds = BoundsOf(rect);
    docking.windowWidth = bounds.Width();
    docking.windowHeight = bounds.Height();
    docking.screen = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};

    const bool touching = TouchesEdge(bounds, docking.screen);
    if (touching != docking.topmost) {
        SetTopmost(window, touching);
        docking.topmost = touching;
    }

    POINT cursor{};
    GetCursorPos(&cursor);
    const bool inside = CursorInside(bounds, cursor.x, cursor.y);
    if (inside) docking.holdOpen = false;
    if (inside || docking.holdOpen) {
        const Slide slide = PlanSlideIn(bounds, docking.screen);
        if (slide.Moves()) {
            RunSlide(window, bounds, slide, docking.windowWidth, docking.windowHeight);
            docking.topmost = false;  // the next tick makes it topmost again
        }
    } else {
        RunSlide(window, bounds, PlanSlideOut(bounds, docking.screen), docking.windowWidth,
                 docking.windowHeight);
    }
}

}  // namespace

void SetDockingHoldOpen(bool holdOpen) { docking.holdOpen = holdOpen; }

void StartEdgeDocking(HWND window) {
    docking.window = window;
    docking.previousProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DockingProcedure)));
    SetTimer(window, dockingTimerId, USER_TIMER_MINIMUM, DockingTick);
}

}  // namespace app
