#include "ui/window_win.h"

#include <span>

#include "ui/text_win.h"

namespace ui {
namespace {

constexpr int menuTextLength = 256;

HMENU BuildPopup(std::span<const MenuItemSpec> menu, std::size_t top) {
    const MenuRange range = SubtreeOf(menu, top);
    HMENU popup = CreatePopupMenu();
    const int childDepth = menu[top].depth + 1;
    for (std::size_t i = range.first + 1; i < range.last; ++i) {
        if (menu[i].depth != childDepth) continue;
        const std::wstring text = Widen(menu[i].text);
        const MenuRange children = SubtreeOf(menu, i);
        if (children.last > children.first + 1) {
            AppendMenuW(popup, MF_POPUP | MF_STRING,
                        reinterpret_cast<UINT_PTR>(BuildPopup(menu, i)), text.c_str());
        } else {
            AppendMenuW(popup, MF_STRING, static_cast<UINT_PTR>(menu[i].id), text.c_str());
        }
    }
    return popup;
}

}  // namespace

void Window::BuildMenus() {
    const std::span<const MenuItemSpec> menu = spec_.menu;
    for (std::size_t i = 0; i < menu.size(); ++i) {
        if (menu[i].depth != 0) continue;
        HMENU popup = BuildPopup(menu, i);
        topMenus_.emplace_back(menu[i].id, popup);
        if (menu[i].hiddenTop) {
            popups_.emplace_back(popup);
        } else {
            if (!menuBar_) menuBar_.reset(CreateMenu());
            AppendMenuW(menuBar_.get(), MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup),
                        Widen(menu[i].text).c_str());
        }
    }
}

std::wstring Window::MenuItemText(int id) const {
    for (const auto& [top, popup] : topMenus_) {
        wchar_t text[menuTextLength] = {};
        if (GetMenuStringW(popup, static_cast<UINT>(id), text, menuTextLength, MF_BYCOMMAND) > 0) {
            return text;
        }
    }
    return {};
}

void Window::SetMenuItemText(int id, std::wstring_view text) {
    std::wstring copy(text);
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_STRING;
    item.dwTypeData = copy.data();
    for (const auto& [top, popup] : topMenus_) {
        if (SetMenuItemInfoW(popup, static_cast<UINT>(id), FALSE, &item)) return;
    }
}

bool Window::MenuItemEnabled(int id) const {
    for (const auto& [top, popup] : topMenus_) {
        const UINT state = GetMenuState(popup, static_cast<UINT>(id), MF_BYCOMMAND);
        if (state != static_cast<UINT>(-1)) return (state & (MF_GRAYED | MF_DISABLED)) == 0;
    }
    return false;
}

void Window::SetMenuItemEnabled(int id, bool enabled) {
    for (const auto& [top, popup] : topMenus_) {
        if (EnableMenuItem(popup, static_cast<UINT>(id),
                           MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED)) != -1) {
            return;
        }
    }
}

HMENU Window::PopupMenu(int topId) const {
    for (const auto& [id, popup] : topMenus_) {
        if (id == topId) return popup;
    }
    return nullptr;
}

void Window::ShowPopupMenu(int topId, Point screen, UINT alignment) {
    HMENU popup = PopupMenu(topId);
    if (popup == nullptr || handle_ == nullptr) return;
    const int chosen = static_cast<int>(TrackPopupMenu(
        popup, alignment | TPM_RIGHTBUTTON | TPM_RETURNCMD, screen.x, screen.y, 0, handle_, nullptr));
    if (chosen != 0) Raise(chosen, Event::Clicked);
}

}  // namespace ui
