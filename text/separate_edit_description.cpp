#include "text/separate_edit_description.h"

#include <array>

namespace text {
namespace {

using ui::Kind;
using namespace ui;  // control flags

constexpr std::array controls{
    ControlSpec{separateEditBox, "编辑框1", Kind::EditBox, "", {24, 8, 272, 176}, windowItself,
                multiLine | verticalScroll | thinBorder | tabStop},
    ControlSpec{horizontalRuler, "透明标签2", Kind::Label, "", {40, 16, 232, 16}, windowItself,
                transparent},
    ControlSpec{verticalRuler, "透明标签1", Kind::Label, "", {40, 16, 40, 136}, windowItself,
                transparent},
};

constexpr std::array menu{
    MenuItemSpec{separateMenu, 0, "菜单", true},
    MenuItemSpec{separateCopyItem, 1, "复制"},
    MenuItemSpec{separatePasteItem, 1, "粘贴"},
    MenuItemSpec{separateFontItem, 1, "字体"},
    MenuItemSpec{separateAlignMenu, 1, "对齐方式"},
    MenuItemSpec{separateAlignLeftItem, 2, "左对齐"},
    MenuItemSpec{separateAlignCenterItem, 2, "居中"},
    MenuItemSpec{separateAlignRightItem, 2, "右对齐"},
    MenuItemSpec{separateClearItem, 1, "全部删除"},
    MenuItemSpec{appendBackupItem, 1, "加入打印备份"},
    MenuItemSpec{saveItem, 1, "保存"},
    MenuItemSpec{saveAsItem, 1, "另存为"},
};

}  // namespace

std::span<const ui::ControlSpec> SeparateEditControls() { return controls; }
std::span<const ui::MenuItemSpec> SeparateEditMenu() { return menu; }

}  // namespace text
