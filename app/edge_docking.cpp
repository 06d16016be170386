#include "app/edge_docking.h"

namespace app {

Bounds ClampToScreen(Bounds r, int windowWidth, int windowHeight, ScreenSize screen) {
    if (r.left <= 0) {
        r.left = 0;
        r.right = windowWidth;
    }
    if (r.right >= screen.width) {
        r.left = screen.width - windowWidth;
        r.right = screen.width;
    }
    if (r.top < 0) {
        r.top = 0;
        r.bottom = windowHeight;
    }
    if (r.bottom > screen.height) {
        r.top = screen.height - windowHeight;
        r.bottom = screen.height;
    }
    return r;
}

TrackingLimits DockingLimits(ScreenSize screen, int taskbarHeight) {
    return {minimumTrackingSize, minimumTrackingSize, screen.width, screen.height - taskbarHeight};
}

bool TouchesEdge(const Bounds& window, ScreenSize screen) {
    return window.left <= 0 || window.right >= screen.width || window.top <= 0;
}

bool CursorInside(const Bounds& window, int x, int y) {
    return window.left <= x && x <= window.right && window.top <= y && y <= window.bottom;
}

Slide PlanSlideIn(const Bounds& window, ScreenSize screen) {
    if (window.right == dockingStrip) return {1, 0, window.Width() - 1};
    if (window.left == screen.width - dockingStrip) return {-1, 0, window.Width() - 1};
    if (window.bottom == dockingStrip) return {0, 1, window.Height() - 1};
    return {};
}

Slide PlanSlideOut(const Bounds& window, ScreenSize screen) {
    if (window.left == 0) return {-1, 0, window.Width() - 1};
    if (window.right == screen.width) return {1, 0, window.Width() - 1};
    if (window.top == 0) return {0, -1, window.Height() - 1};
    return {};
}

}  // namespace app
