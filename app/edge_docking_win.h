// Edge docking of the main window: kept on the screen while dragged, above the others while it
// touches the left, right or top edge, and slid out of view there when the mouse leaves it.
#pragma once

#include <windows.h>

#include "app/edge_docking.h"

namespace app {

inline constexpr UINT_PTR dockingTimerId = 80911042;

class EdgeDocking {
public:
    EdgeDocking() = default;
    EdgeDocking(const EdgeDocking&) = delete;
    EdgeDocking& operator=(const EdgeDocking&) = delete;
    ~EdgeDocking();

    // While set, the window is never slid out; cleared the first time the cursor is inside it.
    void SetHoldOpen(bool holdOpen) { holdOpen_ = holdOpen; }

    // Takes the window's messages first and watches its position; it ends with the window.
    void Start(HWND window);

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR self);
    void Measure();
    void Moved();
    void Tick();
    void SetTicking(bool ticking);

    HWND window_ = nullptr;
    int windowWidth_ = 0;
    int windowHeight_ = 0;
    ScreenSize screen_;
    bool topmost_ = false;
    bool holdOpen_ = false;
    bool ticking_ = false;
};

}  // namespace app
