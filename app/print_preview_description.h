// The print preview window "打印预览" as data, and the arithmetic of where its page goes.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "device/page_plan.h"
#include "picture/picture_layout.h"
#include "ui/description.h"

namespace app {

enum PreviewId : int {
    previousPageButton = 100,  // 按钮1上一页
    nextPageButton,            // 按钮2下一页
    wholePageButton,           // 按钮3整页
    actualSizeButton,          // 按钮4原大
    pageSetupButton,           // 按钮5页面设置
    previewPrintButton,        // 按钮6打印
    previewCloseButton,        // 按钮7关闭
    printPageButton,           // 按钮8打印本页
    pageNumberLabel,           // 标签1页码
    pageView,                  // 页面1
    layoutButton,              // 按钮9版式: picture jobs only, like the two below
    photoCountButton,          // 按钮10张数
    noticeLabel,               // 标签2提示
    // the hidden menu "版式", shown by the layout button: one item per layout, in their order
    layoutMenu = 200,
    firstLayoutItem,
};

inline constexpr std::string_view previewTitle = "打印预览";
// The window class of the page view, registered by the preview.
inline constexpr std::string_view pageViewClass = "MozhouPreviewPage";
inline constexpr int previewWindowWidth = 816;
inline constexpr int previewWindowHeight = 760;

std::span<const ui::ControlSpec> PreviewControls();
std::span<const ui::MenuItemSpec> PreviewMenu();
// The row of picture layout controls, which the page view leaves room for only in a picture job.
inline constexpr int layoutRowHeight = 32;

// "版式：1寸"; "张数：铺满一页" or "张数：4" (prints of each picture in a photo size layout).
std::string LayoutButtonText(picture::PictureLayout layout);
std::string PhotoCountButtonText(int count);

// "第 2 页 / 共 5 页".
std::string PageNumberText(std::size_t shown, std::size_t count);

enum class PreviewZoom { wholePage, actualSize };

// Where the paper and its printable area go in the page view, in pixels of the view's content
// (which scrolls when it is larger than the view).
struct PagePlacement {
    ui::Rect paper;
    ui::Rect printable;
    int contentWidth = 0;
    int contentHeight = 0;
};

// A margin of grey around the paper.
inline constexpr int pageGap = 12;

// "整页" fits the whole paper into the view; "100%" shows it at its true size on a screen of
// the given pixels per inch. The paper is centred where the view is larger than it.
PagePlacement PlacePage(const device::PaperSpec& paper, PreviewZoom zoom, int viewWidth, int viewHeight,
                        int screenDpiX, int screenDpiY);

}  // namespace app
