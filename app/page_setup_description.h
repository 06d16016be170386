// The page setup window "页面设置" as data, and the arithmetic behind its fields and its sample:
// margins shown in whole millimetres, the paper list, and where the sample page goes.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "text/page_setup.h"
#include "ui/description.h"

namespace app {

enum PageSetupId : int {
    paperGroup = 100,      // 分组框1纸张
    marginGroup,           // 分组框2页边距
    headerFooterGroup,     // 分组框3页眉页脚
    sampleGroup,           // 分组框4示例
    paperLabel,            // 标签1纸张
    paperList,             // 组合框1纸张
    orientationLabel,      // 标签2方向
    portraitOption,        // 单选框1纵向
    landscapeOption,       // 单选框2横向
    leftMarginLabel,       // 标签3左
    leftMarginBox,         // 编辑框1左边距
    topMarginLabel,        // 标签4上
    topMarginBox,          // 编辑框2上边距
    rightMarginLabel,      // 标签5右
    rightMarginBox,        // 编辑框3右边距
    bottomMarginLabel,     // 标签6下
    bottomMarginBox,       // 编辑框4下边距
    leftColumnLabel,       // 标签7左
    centreColumnLabel,     // 标签8中
    rightColumnLabel,      // 标签9右
    headerLabel,           // 标签10页眉
    headerLeftBox,         // 编辑框5页眉左
    headerCentreBox,       // 编辑框6页眉中
    headerRightBox,        // 编辑框7页眉右
    footerLabel,           // 标签11页脚
    footerLeftBox,         // 编辑框8页脚左
    footerCentreBox,       // 编辑框9页脚中
    footerRightBox,        // 编辑框10页脚右
    codesLabel,            // 标签12代码
    lineNumbersOption,     // 复选框1行号
    samplePage,            // 示例1
    okButton,              // 按钮1确定
    setupCancelButton,     // 按钮2取消
};

inline constexpr std::string_view pageSetupTitle = "页面设置";
// The window class of the sample page, registered by the window.
inline constexpr std::string_view samplePageClass = "MozhouPageSample";
inline constexpr int pageSetupWindowWidth = 620;
inline constexpr int pageSetupWindowHeight = 444;
inline constexpr std::string_view defaultPaperItem = "打印机默认纸张";

std::span<const ui::ControlSpec> PageSetupControls();

// The controls a picture job's page setup leaves alone: they apply to texts only.
std::span<const int> TextOnlyControls();

// The margin boxes in millimetres: tenths are rounded; what is typed is read as its leading whole
// number (anything else is 0) and held between 0 and 200 mm.
int MarginMillimetres(int units);
int MarginUnitsFromText(std::u16string_view text);

// The paper list: the printer's own paper first, then the printer's papers. The item shown for a
// paper number; a number the printer does not list shows the first item.
int PaperItemIndex(int paperSize, std::span<const int> listed);
// The paper number of the item chosen. A number the printer does not list is kept while the user
// has not chosen another item.
int ChosenPaperSize(int saved, std::span<const int> listed, int index, bool userChose);

// The sample page's paper and its margins inside a box, in pixels: the paper (in 0.1 mm, A4 when
// not known) turned as the setup says and as large as the box allows, centred, with a gap.
struct SampleRects {
    ui::Rect paper;
    ui::Rect inside;  // within the margins; empty when they leave nothing
};
inline constexpr int sampleGap = 8;
SampleRects PlaceSample(const text::PageSetup& setup, int paperWidth, int paperHeight, int boxWidth,
                        int boxHeight);

}  // namespace app
