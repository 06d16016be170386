// A modeless window that can be opened again and again, one at a time, together with what it
// keeps while it is open.
#pragma once

#include <memory>
#include <utility>

#include "ui/window_placement_win.h"
#include "ui/window_win.h"

namespace ui {

// Opening is what one opening keeps; it holds the window as `std::unique_ptr<Window> window`.
// A window destroyed by its own close cannot free itself from inside its handlers: its Destroyed
// handler calls Closed(), and the opening is freed by the next one, or with this object.
template <typename Opening>
class ModelessWindow {
public:
    ModelessWindow() = default;
    ModelessWindow(const ModelessWindow&) = delete;
    ModelessWindow& operator=(const ModelessWindow&) = delete;
    // A window still open is destroyed here; reset() lets go of it first, so that its handlers,
    // which run meanwhile, find no opening.
    ~ModelessWindow() { open_.reset(); }

    // The opening while its window exists, otherwise null.
    Opening* Current() const {
        return open_ && open_->window && open_->window->Handle() != nullptr ? open_.get()
                                                                            : nullptr;
    }
    Window* CurrentWindow() const {
        Opening* open = Current();
        return open != nullptr ? open->window.get() : nullptr;
    }

    // Brings the open window forward, or makes a new opening whose window create() returns;
    // null when the window could not be made.
    template <typename Create>
    Opening* Open(Create create) {
        if (Window* window = CurrentWindow()) {
            BringForward(window->Handle());
            return nullptr;
        }
        closed_.reset();
        open_ = std::make_unique<Opening>();
        Opening* made = open_.get();
        made->window = create();
        if (!made->window) {
            if (open_.get() == made) open_.reset();
            return nullptr;
        }
        return made;
    }

    // For the window's Destroyed handler.
    void Closed() { closed_ = std::move(open_); }

private:
    std::unique_ptr<Opening> open_;
    std::unique_ptr<Opening> closed_;
};

}  // namespace ui
