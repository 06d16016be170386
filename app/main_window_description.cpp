#include "app/main_window_description.h"

#include <array>

#include "app/program_texts.h"

namespace app {
namespace {

using ui::Kind;
using namespace ui;  // control flags

constexpr std::uint32_t optionFlags = tabStop;
constexpr std::uint32_t buttonFlags = tabStop;

constexpr std::array statusParts{statusLabelWidth, statusMessageWidth};

constexpr std::array controls{
    ControlSpec{pictureGroup, "分组框3", Kind::GroupBox, "图片", {8, 8, 376, 320}},
    ControlSpec{textGroup, "分组框4", Kind::GroupBox, "文本", {392, 8, 376, 320}},
    ControlSpec{settingsGroup, "分组框1", Kind::GroupBox, "设置", {8, 336, 376, 96}},
    ControlSpec{printGroup, "分组框2", Kind::GroupBox, "打印", {392, 336, 376, 96}},

    ControlSpec{pictureBox, "图片框1", Kind::PictureBox, "", {8, 16, 360, 296}, pictureGroup,
                thinBorder, {}, {PictureMode::stretch, systemFaceColor, true}},
    ControlSpec{editBox, "编辑框1编辑", Kind::EditBox, "", {8, 16, 360, 296}, textGroup,
                multiLine | verticalScroll | thinBorder | keepSelection | tabStop},

    ControlSpec{deleteSpacesOption, "单选框1删空格", Kind::RadioButton, "删除空格打印",
                {64, 24, 96, 24}, settingsGroup, optionFlags},
    ControlSpec{keepSpacesOption, "单选框2保留空", Kind::RadioButton, "保留空格打印",
                {64, 64, 96, 24}, settingsGroup, optionFlags},
    ControlSpec{textOption, "选择框1文本", Kind::CheckBox, "打印文本", {224, 24, 96, 24},
                settingsGroup, optionFlags},
    ControlSpec{pictureOption, "选择框2图片", Kind::CheckBox, "打印图片", {224, 64, 96, 24},
                settingsGroup, optionFlags},

    ControlSpec{findButton, "按钮3查找", Kind::PushButton, "查找", {64, 24, 96, 24}, printGroup,
                buttonFlags},
    ControlSpec{printButton, "按钮4打印", Kind::PushButton, "打印文本", {64, 64, 96, 24},
                printGroup, buttonFlags},
    ControlSpec{cancelButton, "按钮5取消", Kind::PushButton, "取消打印", {224, 24, 96, 24},
                printGroup, buttonFlags},
    ControlSpec{stopButton, "按钮6停止", Kind::PushButton, "停止打印", {224, 64, 96, 24},
                printGroup, buttonFlags},

    ControlSpec{statusBar, "状态条1", Kind::StatusBar, "状态：", {0, 436, 782, 20},
                windowItself, noFlags, statusParts},
    ControlSpec{aboutTimer, "时钟1关于", Kind::Timer, "", {}},
    ControlSpec{titleTimer, "时钟2标题", Kind::Timer, "", {}},
};

constexpr std::array menu{
    MenuItemSpec{mainMenu, 0, "菜单"},
    MenuItemSpec{upgradeMenu, 1, "升级"},
    MenuItemSpec{checkUpdateItem, 2, "检测升级"},
    MenuItemSpec{changeBackgroundItem, 1, "更换背景图"},
    MenuItemSpec{aboutItem, 1, "关于"},
    MenuItemSpec{addExplorerMenuItem, 1, addExplorerMenuCaption},
    MenuItemSpec{removeExplorerMenuItem, 1, removeExplorerMenuCaption},

    MenuItemSpec{editMenu, 0, "子菜单", true},
    MenuItemSpec{copyItem, 1, "复制"},
    MenuItemSpec{pasteItem, 1, "粘贴"},
    MenuItemSpec{fontItem, 1, "字体"},
    MenuItemSpec{alignMenu, 1, "对齐方式"},
    MenuItemSpec{alignLeftItem, 2, "左对齐"},
    MenuItemSpec{alignCenterItem, 2, "居中"},
    MenuItemSpec{alignRightItem, 2, "右对齐"},
    MenuItemSpec{clearItem, 1, "全部删除"},
    MenuItemSpec{separateEditItem, 1, "单独编辑 (适于A4纸)"},
    MenuItemSpec{previewTextItem, 1, "打印预览"},
    MenuItemSpec{pageSetupItem, 1, "页面设置"},

    MenuItemSpec{pictureMenu, 0, "查看图片", true},
    MenuItemSpec{adjustPictureItem, 1, "调节大小"},
    MenuItemSpec{pastePictureItem, 1, "粘贴图片"},
    MenuItemSpec{previewPictureItem, 1, "打印预览"},
    MenuItemSpec{previousPictureItem, 1, "上一张"},
    MenuItemSpec{nextPictureItem, 1, "下一张"},
    MenuItemSpec{removePictureItem, 1, "移除这张"},
};

}  // namespace

std::span<const ui::ControlSpec> MainControls() { return controls; }
std::span<const ui::MenuItemSpec> MainMenu() { return menu; }

ui::WindowSpec MainWindowSpecForLayout() {
    return {"", "", mainWindowWidth, mainWindowHeight, ui::noFlags, controls, menu, {}};
}

}  // namespace app
