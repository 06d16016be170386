// The main window as data: its controls, menus and event map.
#pragma once

#include "ui/description.h"

namespace app {

// Control, component and menu item ids of the main window.
enum MainId : int {
    // group boxes
    pictureGroup = 100,  // 分组框3 "图片"
    textGroup,           // 分组框4 "文本"
    settingsGroup,       // 分组框1 "设置"
    printGroup,          // 分组框2 "打印"
    // controls
    pictureBox,            // 图片框1
    editBox,               // 编辑框1编辑
    deleteSpacesOption,    // 单选框1删空格
    keepSpacesOption,      // 单选框2保留空
    textOption,            // 选择框1文本
    pictureOption,         // 选择框2图片
    findButton,            // 按钮3查找
    printButton,           // 按钮4打印
    cancelButton,          // 按钮5取消
    stopButton,            // 按钮6停止
    statusBar,             // 状态条1
    aboutTimer,            // 时钟1关于
    titleTimer,            // restores the standard title after an update check's result
    // menu "菜单"
    mainMenu = 200,
    upgradeMenu,
    checkUpdateItem,
    changeBackgroundItem,
    aboutItem,
    addExplorerMenuItem,     // 在右键菜单中添加“用墨舟打印”
    removeExplorerMenuItem,  // 从右键菜单中移除“用墨舟打印”
    // menu "子菜单", the edit box's context menu
    editMenu,
    copyItem,
    pasteItem,
    fontItem,
    alignMenu,
    alignLeftItem,
    alignCenterItem,
    alignRightItem,
    clearItem,
    separateEditItem,
    previewTextItem,
    pageSetupItem,
    // menu "查看图片", the picture box's context menu
    pictureMenu,
    adjustPictureItem,
    pastePictureItem,
    previewPictureItem,
    previousPictureItem,
    nextPictureItem,
    removePictureItem,
};

inline constexpr int statusLabelWidth = 40;
inline constexpr int statusMessageWidth = 740;

inline constexpr int mainWindowWidth = 782;
inline constexpr int mainWindowHeight = 506;

std::span<const ui::ControlSpec> MainControls();
std::span<const ui::MenuItemSpec> MainMenu();

// The controls and menus without the event map, for checking the layout.
ui::WindowSpec MainWindowSpecForLayout();

// The whole description with its event map (the handlers live in the Windows layer).
const ui::WindowSpec& MainWindowSpec();

}  // namespace app
