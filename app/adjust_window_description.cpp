#include "app/adjust_window_description.h"

#include <array>
#include <string>

namespace app {
namespace {

using ui::Kind;
using namespace ui;  // control flags

// Both panels: no border, the button face behind a tiled background picture.
constexpr PictureBoxSpec panelSettings{PictureMode::tiled, systemFaceColor, false};

constexpr std::array controls{
    ControlSpec{previewPanel, "画板1", Kind::PictureBox, "",
                {72, 32, previewDesignWidth, previewDesignHeight}, windowItself, noFlags, {},
                panelSettings},
    ControlSpec{workingPanel, "画板2", Kind::PictureBox, "", {136, 64, 32, 32}, windowItself,
                noFlags, {}, panelSettings},
    ControlSpec{horizontalScrollBar, "横向滚动条1", Kind::ScrollBar, "", {96, 152, 136, 32},
                windowItself, hidden},
    ControlSpec{verticalScrollBar, "纵向滚动条1", Kind::ScrollBar, "", {296, 32, 32, 136},
                windowItself, hidden | vertical},
};

constexpr std::array menu{
    MenuItemSpec{adjustMenu, 0, "打印", true},
    MenuItemSpec{paperSizeItem, 1, "纸张大小"},
    MenuItemSpec{turnPictureItem, 1, "旋转图片"},
    MenuItemSpec{toggleWorkingItem, 1, hideWorkingCaption},
    MenuItemSpec{printPictureItem, 1, "打印图片"},
};

}  // namespace

std::span<const ui::ControlSpec> AdjustControls() { return controls; }
std::span<const ui::MenuItemSpec> AdjustMenu() { return menu; }

std::string PanelSizeTitle(int width, int height) {
    return "高：" + std::to_string(height) + "像素  宽：" + std::to_string(width) + "像素";
}

}  // namespace app
