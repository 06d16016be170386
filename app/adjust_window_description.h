// The picture adjustment window "图片调节" as data: its two draw panels, two scroll bars that stay
// hidden, and the preview panel's pop-up menu.
#pragma once

#include <span>
#include <string_view>

#include "ui/description.h"

namespace app {

enum AdjustId : int {
    previewPanel = 100,  // 画板1
    workingPanel,        // 画板2
    horizontalScrollBar, // 横向滚动条1
    verticalScrollBar,   // 纵向滚动条1
    // the preview panel's pop-up menu, a hidden top item "打印"
    adjustMenu = 200,
    paperSizeItem,
    turnPictureItem,
    toggleWorkingItem,
    printPictureItem,
};

inline constexpr int adjustWindowWidth = 380;
inline constexpr int adjustWindowHeight = 250;
inline constexpr int previewDesignWidth = 184;
inline constexpr int previewDesignHeight = 112;
// 28 cm by 19 cm at 300 dots per inch.
inline constexpr int paperPresetWidth = 3307;
inline constexpr int paperPresetHeight = 2244;

inline constexpr std::string_view adjustWindowTitle = "图片调节";
inline constexpr std::string_view paperPresetTitle = "默认纸张：  高 28cm  宽 19cm";
inline constexpr std::string_view hideWorkingCaption = "隐藏原图";
inline constexpr std::string_view showWorkingCaption = "显示原图";
inline constexpr std::string_view turnQuestion = "是否适用纸张？";

std::span<const ui::ControlSpec> AdjustControls();
std::span<const ui::MenuItemSpec> AdjustMenu();

// "高：400像素  宽：500像素": the preview panel's size after a click.
std::string PanelSizeTitle(int width, int height);

}  // namespace app
