#include "app/print_preview_description.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace app {
namespace {

using ui::ControlSpec;
using ui::Kind;

constexpr std::uint32_t buttonFlags = ui::tabStop;
constexpr int buttonTop = 8;
constexpr int buttonHeight = 24;

constexpr std::array controls{
    ControlSpec{previousPageButton, "按钮1上一页", Kind::PushButton, "上一页",
                {8, buttonTop, 64, buttonHeight}, ui::windowItself, buttonFlags},
    ControlSpec{nextPageButton, "按钮2下一页", Kind::PushButton, "下一页",
                {76, buttonTop, 64, buttonHeight}, ui::windowItself, buttonFlags},
    ControlSpec{pageNumberLabel, "标签1页码", Kind::Label, "第 1 页 / 共 ? 页",
                {148, buttonTop + 5, 140, 16}},
    ControlSpec{wholePageButton, "按钮3整页", Kind::PushButton, "整页",
                {292, buttonTop, 56, buttonHeight}, ui::windowItself, buttonFlags},
    ControlSpec{actualSizeButton, "按钮4原大", Kind::PushButton, "100%",
                {352, buttonTop, 56, buttonHeight}, ui::windowItself, buttonFlags},
    ControlSpec{pageSetupButton, "按钮5页面设置", Kind::PushButton, "页面设置…",
                {416, buttonTop, 76, buttonHeight}, ui::windowItself, buttonFlags},
    ControlSpec{printPageButton, "按钮8打印本页", Kind::PushButton, "打印本页",
                {500, buttonTop, 88, buttonHeight}, ui::windowItself, buttonFlags},
    ControlSpec{previewPrintButton, "按钮6打印", Kind::PushButton, "打印…",
                {600, buttonTop, 88, buttonHeight}, ui::windowItself, buttonFlags},
    ControlSpec{previewCloseButton, "按钮7关闭", Kind::PushButton, "关闭",
                {696, buttonTop, 88, buttonHeight}, ui::windowItself, buttonFlags},
    ControlSpec{layoutButton, "按钮9版式", Kind::PushButton, "版式：",
                {8, buttonTop + layoutRowHeight, 148, buttonHeight}, ui::windowItself,
                buttonFlags | ui::hidden},
    ControlSpec{photoCountButton, "按钮10张数", Kind::PushButton, "张数：",
                {164, buttonTop + layoutRowHeight, 124, buttonHeight}, ui::windowItself,
                buttonFlags | ui::hidden},
    ControlSpec{noticeLabel, "标签2提示", Kind::Label, "",
                {300, buttonTop + layoutRowHeight + 5, 484, 16}, ui::windowItself, ui::hidden},
    ControlSpec{pageView, "页面1", Kind::Custom, pageViewClass, {0, 40, 800, 680}},
};

// Each layout's item, in the order of the layouts; their names are the layouts' own.
std::array<ui::MenuItemSpec, picture::pictureLayoutCount + 1> MakeLayoutMenu() {
    std::array<ui::MenuItemSpec, picture::pictureLayoutCount + 1> menu{};
    menu[0] = {layoutMenu, 0, "版式", true};
    for (int i = 0; i < picture::pictureLayoutCount; ++i) {
        menu[i + 1] = {firstLayoutItem + i, 1,
                       picture::LayoutName(static_cast<picture::PictureLayout>(i))};
    }
    return menu;
}

}  // namespace

std::span<const ui::ControlSpec> PreviewControls() { return controls; }

std::span<const ui::MenuItemSpec> PreviewMenu() {
    static const auto menu = MakeLayoutMenu();
    return menu;
}

std::string LayoutButtonText(picture::PictureLayout layout) {
    return "版式：" + std::string(picture::LayoutName(layout));
}

std::string PhotoCountButtonText(int count) {
    return "张数：" + (count > 0 ? std::to_string(count) : std::string("铺满一页"));
}

std::string PageNumberText(std::size_t shown, std::size_t count) {
    return "第 " + std::to_string(shown) + " 页 / 共 " + std::to_string(count) + " 页";
}

PagePlacement PlacePage(const device::PaperSpec& paper, PreviewZoom zoom, int viewWidth,
                        int viewHeight, int screenDpiX, int screenDpiY) {
    PagePlacement placed;
    const device::PageMetrics& page = paper.metrics;
    if (page.physicalWidth <= 0 || page.physicalHeight <= 0 || paper.dpiX <= 0 || paper.dpiY <= 0) return placed;
    double scaleX = static_cast<double>(screenDpiX) / paper.dpiX;
    double scaleY = static_cast<double>(screenDpiY) / paper.dpiY;
    if (zoom == PreviewZoom::wholePage) {
        // The paper's true proportions, as large as the view allows.
        const double fit = std::min((viewWidth - 2.0 * pageGap) / (page.physicalWidth * scaleX),
                                    (viewHeight - 2.0 * pageGap) / (page.physicalHeight * scaleY));
        scaleX *= std::max(fit, 0.01);
        scaleY *= std::max(fit, 0.01);
    }
    const auto scaled = [](int length, double scale) {
        return static_cast<int>(std::lround(length * scale));
    };
    const int width = std::max(1, scaled(page.physicalWidth, scaleX));
    const int height = std::max(1, scaled(page.physicalHeight, scaleY));
    placed.contentWidth = std::max(viewWidth, width + 2 * pageGap);
    placed.contentHeight = std::max(viewHeight, height + 2 * pageGap);
    placed.paper = {(placed.contentWidth - width) / 2, (placed.contentHeight - height) / 2, width,
                    height};
    placed.printable = {placed.paper.x + scaled(page.offsetX, scaleX),
                        placed.paper.y + scaled(page.offsetY, scaleY),
                        scaled(page.printableWidth, scaleX), scaled(page.printableHeight, scaleY)};
    return placed;
}

}  // namespace app
