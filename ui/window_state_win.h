// What the window runtime keeps for each control; shared by the files that make up ui::Window.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "ui/handles_win.h"
#include "ui/window_win.h"

namespace ui {

inline constexpr COLORREF editTextColor = RGB(0, 0, 0);
// How far a drop-down list opens below its box, at 96 dpi.
inline constexpr int comboListHeight = 200;

// A picture box's content and settings, reached from its window through GWLP_USERDATA.
struct PictureBoxData {
    PictureBoxPainter* painter = nullptr;  // none: the box shows its background only
    std::shared_ptr<const PictureBoxContent> content;
    PictureBoxSpec settings;
    std::unique_ptr<PictureBoxMemo> memo;
};

struct Window::ControlState {
    const ControlSpec* description = nullptr;
    HWND handle = nullptr;
    Font font;  // null while the control uses the window's default GUI font
    COLORREF textColor = editTextColor;
    bool hasTextColor = false;
    PictureBoxData picture;
    unsigned interval = 0;
};

// The window class of picture boxes, registered once.
void RegisterPictureBoxClass();
extern const wchar_t pictureBoxClass[];

}  // namespace ui
