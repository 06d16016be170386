#include "app/tray_icon_win.h"

#include <shellapi.h>

#include <algorithm>

#include "ui/window_win.h"

namespace app {
namespace {

constexpr UINT trayIconId = 1;

}  // namespace

TrayIcon::TrayIcon(HWND window, ui::Icon icon, std::wstring_view tooltip)
    : window_(window), icon_(std::move(icon)) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = window_;
    data.uID = trayIconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = ui::trayMessage;
    data.hIcon = icon_.get();
    const std::size_t length = std::min(tooltip.size(), std::size(data.szTip) - 1);
    std::copy_n(tooltip.data(), length, data.szTip);
    added_ = Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
}

TrayIcon::~TrayIcon() {
    if (!added_) return;
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = window_;
    data.uID = trayIconId;
    Shell_NotifyIconW(NIM_DELETE, &data);
}

}  // namespace app
