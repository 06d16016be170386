// The picture adjustment window "图片调节": a preview of the main picture whose size the picture
// print job proposes, a paper-sized preset, turning the picture over its diagonal, and printing.
#pragma once

#include <memory>

#include "ui/modeless_window_win.h"

namespace ui {
class Window;
}

namespace app {

struct Program;

class AdjustWindow {
public:
    explicit AdjustWindow(Program& program);
    AdjustWindow(const AdjustWindow&) = delete;
    AdjustWindow& operator=(const AdjustWindow&) = delete;
    ~AdjustWindow();

    // "调节大小": opens the window, or brings the open one forward.
    void Open();
    ui::Window* Window() const;
    // The open window's preview shows the main picture again, after another was chosen.
    void ShowPicture();

    // The preview panel's size: as designed until the window first opens, then its last size,
    // also after the window was closed.
    int PreviewWidth() const { return previewWidth_; }
    int PreviewHeight() const { return previewHeight_; }

private:
    friend struct AdjustWindowHandlers;
    struct Opening;

    Program& program_;
    int previewWidth_;
    int previewHeight_;
    ui::ModelessWindow<Opening> windows_;
};

}  // namespace app
