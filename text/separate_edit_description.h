// The separate-edit window as data: its controls and its context menu.
#pragma once

#include <span>

#include "ui/description.h"

namespace text {

enum SeparateEditId : int {
    separateEditBox = 100,  // 编辑框1
    horizontalRuler,        // 透明标签2
    verticalRuler,          // 透明标签1
    // the edit box's context menu "菜单"
    separateMenu = 200,
    separateCopyItem,
    separatePasteItem,
    separateFontItem,
    separateAlignMenu,
    separateAlignLeftItem,
    separateAlignCenterItem,
    separateAlignRightItem,
    separateClearItem,
    appendBackupItem,
    saveItem,
    saveAsItem,
};

// The size the window is built with; its creation makes it larger.
inline constexpr int separateDesignWidth = 339;
inline constexpr int separateDesignHeight = 250;

// Sizes set when the window is created.
inline constexpr int separateWindowWidth = 832;
inline constexpr int separateWindowHeight = 844;
inline constexpr int separateEditLeft = 15;
inline constexpr int separateEditTop = 15;
inline constexpr int separateEditWidthMargin = 35;   // window width less the edit box width
inline constexpr int separateEditHeightMargin = 64;  // window height less the edit box height
inline constexpr int separateEditPointSize = 14;
inline constexpr int verticalRulerWidth = 11;
inline constexpr int verticalRulerPointSize = 9;
inline constexpr int horizontalRulerHeight = 20;
inline constexpr int horizontalRulerPointSize = 11;

std::span<const ui::ControlSpec> SeparateEditControls();
std::span<const ui::MenuItemSpec> SeparateEditMenu();

}  // namespace text
