#include "app/edge_docking_win.h"

#include <commctrl.h>

namespace app {
namespace {

constexpr wchar_t taskbarClass[] = L"Shell_TrayWnd";
constexpr UINT_PTR subclassId = 1;

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

}  // namespace

EdgeDocking::~EdgeDocking() {
    if (window_ != nullptr && IsWindow(window_)) {
        SetTicking(false);
        RemoveWindowSubclass(window_, Procedure, subclassId);
    }
}

void EdgeDocking::Start(HWND window) {
    window_ = window;
    SetWindowSubclass(window, Procedure, subclassId, reinterpret_cast<DWORD_PTR>(this));
    Moved();
}

void EdgeDocking::Measure() {
    RECT rect;
    if (!GetWindowRect(window_, &rect)) return;
    windowWidth_ = rect.right - rect.left;
    windowHeight_ = rect.bottom - rect.top;
    screen_ = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

// The tick runs only while the window is at an edge or slid out: away from the edges there is
// nothing to watch, and an idle program should cost nothing. A move to an edge starts it.
void EdgeDocking::Moved() {
    Measure();
    RECT rect;
    if (!ticking_ && GetWindowRect(window_, &rect) && TouchesEdge(BoundsOf(rect), screen_)) {
        SetTicking(true);
    }
}

void EdgeDocking::SetTicking(bool ticking) {
    if (ticking == ticking_) return;
    ticking_ = ticking;
    if (ticking) {
        SetTimer(window_, dockingTimerId, USER_TIMER_MINIMUM, nullptr);
    } else {
        KillTimer(window_, dockingTimerId);
    }
}

LRESULT CALLBACK EdgeDocking::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR, DWORD_PTR self) {
    auto& docking = *reinterpret_cast<EdgeDocking*>(self);
    const bool measured = docking.windowWidth_ > 0 && docking.windowHeight_ > 0 &&
                          docking.screen_.width > 0 && docking.screen_.height > 0;
    switch (message) {
    case WM_TIMER:
        if (wParam != dockingTimerId) break;
        docking.Tick();
        return 0;
    case WM_MOVING:
        if (measured) {
            auto* rect = reinterpret_cast<RECT*>(lParam);
            const Bounds kept = ClampToScreen(BoundsOf(*rect), docking.windowWidth_,
                                              docking.windowHeight_, docking.screen_);
            *rect = {kept.left, kept.top, kept.right, kept.bottom};
        }
        break;
    case WM_GETMINMAXINFO:
        if (measured) {
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            const TrackingLimits limits = DockingLimits(docking.screen_, TaskbarHeight());
            info->ptMinTrackSize = {limits.minWidth, limits.minHeight};
            info->ptMaxTrackSize = {limits.maxWidth, limits.maxHeight};
        }
        break;
    case WM_WINDOWPOSCHANGED:
    case WM_DISPLAYCHANGE:
        docking.Moved();
        break;
    case WM_SETCURSOR:
    case WM_NCMOUSEMOVE:
        // The cursor is over the window or one of its controls: it has been inside once.
        docking.holdOpen_ = false;
        break;
    case WM_NCDESTROY:
        docking.SetTicking(false);
        RemoveWindowSubclass(window, Procedure, subclassId);
        docking.window_ = nullptr;
        break;
    default: break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

// About a hundred times a second while docked: when nothing moves it reads one rectangle, the
// screen size and the cursor, and changes nothing.
void EdgeDocking::Tick() {
    RECT rect;
    if (!GetWindowRect(window_, &rect)) return;
    const Bounds bounds = BoundsOf(rect);
    windowWidth_ = bounds.Width();
    windowHeight_ = bounds.Height();
    screen_ = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};

    const bool touching = TouchesEdge(bounds, screen_);
    if (touching != topmost_) {
        SetTopmost(window_, touching);
        topmost_ = touching;
    }
    if (!touching) {
        SetTicking(false);  // back in the open; the next move to an edge starts it again
        return;
    }

    POINT cursor{};
    GetCursorPos(&cursor);
    const bool inside = CursorInside(bounds, cursor.x, cursor.y);
    if (inside) holdOpen_ = false;
    if (inside || holdOpen_) {
        const Slide slide = PlanSlideIn(bounds, screen_);
        if (slide.Moves()) {
            RunSlide(window_, bounds, slide, windowWidth_, windowHeight_);
            topmost_ = false;  // the next tick makes it topmost again
        }
    } else {
        RunSlide(window_, bounds, PlanSlideOut(bounds, screen_), windowWidth_, windowHeight_);
    }
}

}  // namespace app
