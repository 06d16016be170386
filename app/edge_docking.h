// Geometry of edge docking: keeping a dragged window on the screen, its size limits, and which
// way it slides in or out at the screen edges. Screen pixels; y grows downwards.
#pragma once

namespace app {

struct Bounds {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    friend bool operator==(const Bounds&, const Bounds&) = default;
};

struct ScreenSize {
    int width = 0;
    int height = 0;
};

inline constexpr int dockingStrip = 1;  // pixels left on screen when slid out
inline constexpr int minimumTrackingSize = 100;
inline constexpr int fallbackTaskbarHeight = 30;

// Keeps a window being dragged on the screen without changing its size. The rules apply in the
// order left, right, top, bottom, each to the result of the ones before.
Bounds ClampToScreen(Bounds dragged, int windowWidth, int windowHeight, ScreenSize screen);

struct TrackingLimits {
    int minWidth = 0;
    int minHeight = 0;
    int maxWidth = 0;
    int maxHeight = 0;
};
TrackingLimits DockingLimits(ScreenSize screen, int taskbarHeight);

// A window touching the left, right or top edge is kept above the others.
bool TouchesEdge(const Bounds& window, ScreenSize screen);
// Edges count as inside.
bool CursorInside(const Bounds& window, int x, int y);

// A slide: steps of one pixel in the direction (dx, dy).
struct Slide {
    int dx = 0;
    int dy = 0;
    int steps = 0;
    bool Moves() const { return steps > 0; }
    friend bool operator==(const Slide&, const Slide&) = default;
};

// Sliding back in from a strip at the left, right or top edge, checked in that order.
Slide PlanSlideIn(const Bounds& window, ScreenSize screen);
// Sliding out of view from the left, right or top edge, checked in that order.
Slide PlanSlideOut(const Bounds& window, ScreenSize screen);

}  // namespace app
