// The separate-edit window: a larger editor for one sheet, with the print backup file.
#pragma once

#include <functional>
#include <memory>

#include "ui/modeless_window_win.h"

namespace ui {
class Window;
}

namespace text {

class SeparateEdit {
public:
    // What the window tells its owner.
    struct Listener {
        std::function<void(bool open)> openChanged;
        std::function<void(bool hasText)> textChanged;  // its edit box's text became (non-)empty
    };

    explicit SeparateEdit(Listener listener);
    SeparateEdit(const SeparateEdit&) = delete;
    SeparateEdit& operator=(const SeparateEdit&) = delete;
    ~SeparateEdit();

    // "单独编辑 (适于A4纸)": opens the window, or brings the open one forward.
    void Open();
    // The window while it is open, otherwise null.
    ui::Window* Window() const;
    // Closes the window the way the user would, asking whether to keep its text first; used
    // when the program ends so that typed text is never lost silently. False when the text was
    // to be kept and could not be: the window stays open and the user has been told.
    bool Close();
    // Saves the text as "保存" does before the program ends for the updater; false when it could
    // not be saved (the user has been told) and the hand-over must not go on.
    bool SaveForHandOver();
    // Windows is ending the session and will not wait for an answer: the text is kept in the
    // backup file without asking, after the file's previous content was kept beside it; in the
    // user's own folder when the program folder refuses it.
    void KeepForSessionEnd();

private:
    friend struct SeparateEditHandlers;
    struct Opening;

    Listener listener_;
    ui::ModelessWindow<Opening> windows_;  // last: its window goes while the listener stands
};

}  // namespace text
