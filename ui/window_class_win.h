// The window classes and styles of the window runtime; shared by the files that make up ui::Window.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "ui/description.h"

namespace ui {

HINSTANCE Instance();

// Registers a top-level window class once; later calls find it registered.
void RegisterWindowClass(const std::wstring& name, WNDPROC procedure);

// The style of a top-level window with the description's flags.
DWORD WindowStyle(std::uint32_t flags);

struct ClassAndStyle {
    const wchar_t* className;
    DWORD style;
};

// The window class and style a control is made with; no class for timers and custom controls.
ClassAndStyle ControlClass(const ControlSpec& control);

}  // namespace ui
