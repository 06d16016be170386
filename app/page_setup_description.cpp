#include "app/page_setup_description.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "ui/integer_input.h"

namespace app {
namespace {

using ui::ControlSpec;
using ui::Kind;

constexpr std::uint32_t inputFlags = ui::tabStop;
constexpr int boxHeight = 22;
// The three parts of a header or a footer, in columns.
constexpr int partLeft = 56;
constexpr int partStep = 96;
constexpr int partWidth = 88;

constexpr std::array controls{
    ControlSpec{paperGroup, "分组框1纸张", Kind::GroupBox, "纸张", {8, 8, 340, 88}},
    ControlSpec{paperLabel, "标签1纸张", Kind::Label, "纸张：", {12, 24, 44, 16}, paperGroup},
    ControlSpec{paperList, "组合框1纸张", Kind::ComboBox, "", {56, 20, 272, 24}, paperGroup, inputFlags},
    ControlSpec{orientationLabel, "标签2方向", Kind::Label, "方向：", {12, 58, 44, 16}, paperGroup},
    ControlSpec{portraitOption, "单选框1纵向", Kind::RadioButton, "纵向", {56, 54, 80, 24}, paperGroup,
                inputFlags},
    ControlSpec{landscapeOption, "单选框2横向", Kind::RadioButton, "横向", {152, 54, 80, 24}, paperGroup,
                inputFlags},

    ControlSpec{marginGroup, "分组框2页边距", Kind::GroupBox, "页边距（毫米）", {8, 104, 340, 84}},
    ControlSpec{leftMarginLabel, "标签3左", Kind::Label, "左：", {12, 26, 40, 16}, marginGroup},
    ControlSpec{leftMarginBox, "编辑框1左边距", Kind::EditBox, "", {56, 22, 64, boxHeight}, marginGroup,
                inputFlags | ui::thinBorder},
    ControlSpec{topMarginLabel, "标签4上", Kind::Label, "上：", {176, 26, 40, 16}, marginGroup},
    ControlSpec{topMarginBox, "编辑框2上边距", Kind::EditBox, "", {216, 22, 64, boxHeight}, marginGroup,
                inputFlags | ui::thinBorder},
    ControlSpec{rightMarginLabel, "标签5右", Kind::Label, "右：", {12, 56, 40, 16}, marginGroup},
    ControlSpec{rightMarginBox, "编辑框3右边距", Kind::EditBox, "", {56, 52, 64, boxHeight}, marginGroup,
                inputFlags | ui::thinBorder},
    ControlSpec{bottomMarginLabel, "标签6下", Kind::Label, "下：", {176, 56, 40, 16}, marginGroup},
    ControlSpec{bottomMarginBox, "编辑框4下边距", Kind::EditBox, "", {216, 52, 64, boxHeight}, marginGroup,
                inputFlags | ui::thinBorder},

    ControlSpec{headerFooterGroup, "分组框3页眉页脚", Kind::GroupBox, "页眉和页脚", {8, 196, 340, 144}},
    ControlSpec{leftColumnLabel, "标签7左", Kind::Label, "左", {partLeft, 20, partWidth, 16}, headerFooterGroup},
    ControlSpec{centreColumnLabel, "标签8中", Kind::Label, "中", {partLeft + partStep, 20, partWidth, 16},
                headerFooterGroup},
    ControlSpec{rightColumnLabel, "标签9右", Kind::Label, "右", {partLeft + 2 * partStep, 20, partWidth, 16},
                headerFooterGroup},
    ControlSpec{headerLabel, "标签10页眉", Kind::Label, "页眉：", {12, 42, 44, 16}, headerFooterGroup},
    ControlSpec{headerLeftBox, "编辑框5页眉左", Kind::EditBox, "", {partLeft, 38, partWidth, boxHeight},
                headerFooterGroup, inputFlags | ui::thinBorder},
    ControlSpec{headerCentreBox, "编辑框6页眉中", Kind::EditBox, "",
                {partLeft + partStep, 38, partWidth, boxHeight}, headerFooterGroup, inputFlags | ui::thinBorder},
    ControlSpec{headerRightBox, "编辑框7页眉右", Kind::EditBox, "",
                {partLeft + 2 * partStep, 38, partWidth, boxHeight}, headerFooterGroup,
                inputFlags | ui::thinBorder},
    ControlSpec{footerLabel, "标签11页脚", Kind::Label, "页脚：", {12, 72, 44, 16}, headerFooterGroup},
    ControlSpec{footerLeftBox, "编辑框8页脚左", Kind::EditBox, "", {partLeft, 68, partWidth, boxHeight},
                headerFooterGroup, inputFlags | ui::thinBorder},
    ControlSpec{footerCentreBox, "编辑框9页脚中", Kind::EditBox, "",
                {partLeft + partStep, 68, partWidth, boxHeight}, headerFooterGroup, inputFlags | ui::thinBorder},
    ControlSpec{footerRightBox, "编辑框10页脚右", Kind::EditBox, "",
                {partLeft + 2 * partStep, 68, partWidth, boxHeight}, headerFooterGroup,
                inputFlags | ui::thinBorder},
    // A label shows & as it is (SS_NOPREFIX).
    ControlSpec{codesLabel, "标签12代码", Kind::Label, "&f 文件名  &p 页码  &P 总页数  &d 日期  &t 时间  && &",
                {12, 104, 320, 32}, headerFooterGroup},

    ControlSpec{lineNumbersOption, "复选框1行号", Kind::CheckBox, "打印行号", {16, 348, 120, 24},
                ui::windowItself, inputFlags},

    ControlSpec{sampleGroup, "分组框4示例", Kind::GroupBox, "示例", {356, 8, 248, 332}},
    ControlSpec{samplePage, "示例1", Kind::Custom, samplePageClass, {8, 18, 232, 306}, sampleGroup},

    ControlSpec{okButton, "按钮1确定", Kind::PushButton, "确定", {436, 372, 80, 26}, ui::windowItself,
                ui::tabStop | ui::defaultButton},
    ControlSpec{setupCancelButton, "按钮2取消", Kind::PushButton, "取消", {524, 372, 80, 26},
                ui::windowItself, ui::tabStop},
};

constexpr std::array<int, 11> textOnly{
    paperList,     portraitOption,  landscapeOption, headerLeftBox, headerCentreBox, headerRightBox,
    footerLeftBox, footerCentreBox, footerRightBox,  codesLabel,    lineNumbersOption,
};

}  // namespace

std::span<const ui::ControlSpec> PageSetupControls() { return controls; }
std::span<const int> TextOnlyControls() { return textOnly; }

int MarginMillimetres(int units) {
    return static_cast<int>(std::lround(std::clamp(units, 0, text::maxMargin) / 10.0));
}

int MarginUnitsFromText(std::u16string_view text) {
    return std::clamp(ui::LeadingInteger(text), 0, text::maxMargin / 10) * 10;
}

int PaperItemIndex(int paperSize, std::span<const int> listed) {
    const auto found = std::find(listed.begin(), listed.end(), paperSize);
    if (paperSize == 0 || found == listed.end()) return 0;
    return static_cast<int>(found - listed.begin()) + 1;
}

int ChosenPaperSize(int saved, std::span<const int> listed, int index, bool userChose) {
    if (!userChose) return saved;
    if (index < 1 || index > static_cast<int>(listed.size())) return 0;
    return listed[index - 1];
}

SampleRects PlaceSample(const text::PageSetup& setup, int paperWidth, int paperHeight, int boxWidth,
                        int boxHeight) {
    if (paperWidth <= 0 || paperHeight <= 0) {
        paperWidth = 2100;  // A4
        paperHeight = 2970;
    }
    if (setup.landscape != (paperWidth > paperHeight)) std::swap(paperWidth, paperHeight);
    SampleRects placed;
    const double roomX = boxWidth - 2.0 * sampleGap;
    const double roomY = boxHeight - 2.0 * sampleGap;
    if (roomX < 1 || roomY < 1) return placed;
    const double scale = std::min(roomX / paperWidth, roomY / paperHeight);
    const auto scaled = [scale](int length) { return static_cast<int>(std::lround(length * scale)); };
    const int width = std::max(1, scaled(paperWidth));
    const int height = std::max(1, scaled(paperHeight));
    placed.paper = {(boxWidth - width) / 2, (boxHeight - height) / 2, width, height};
    const auto margin = [&scaled](int units) { return scaled(std::clamp(units, 0, text::maxMargin)); };
    const int left = margin(setup.marginLeft);
    const int top = margin(setup.marginTop);
    placed.inside = {placed.paper.x + left, placed.paper.y + top,
                     std::max(0, width - left - margin(setup.marginRight)),
                     std::max(0, height - top - margin(setup.marginBottom))};
    return placed;
}

}  // namespace app
