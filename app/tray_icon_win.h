// The program's icon in the notification area, removed again when the object goes.
#pragma once

#include <windows.h>

#include <string_view>

#include "ui/handles_win.h"

namespace app {

class TrayIcon {
public:
    // Adds the icon; mouse actions on it reach the window as ui::trayMessage. A failure to add
    // it leaves the program without a tray icon and is otherwise ignored.
    TrayIcon(HWND window, ui::Icon icon, std::wstring_view tooltip);
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;
    ~TrayIcon();

private:
    HWND window_;
    ui::Icon icon_;
    bool added_ = false;
};

}  // namespace app
