#include <gtest/gtest.h>

#include "app/print_preview_description.h"

namespace {

using app::PlacePage;
using app::PreviewZoom;

// A4 at 600 dpi with a 4 mm unprintable strip all round.
const device::PaperSpec a4{{4961, 7016, 94, 94, 4773, 6828}, 600, 600};

TEST(PlacePage, WholePageFitsThePaperCentredAndActualSizeIsTheScreensInches) {
    const app::PagePlacement whole = PlacePage(a4, PreviewZoom::wholePage, 800, 680, 96, 96);
    EXPECT_EQ(whole.paper.height, 680 - 2 * app::pageGap);
    EXPECT_NEAR(whole.paper.width, whole.paper.height * 4961.0 / 7016, 1);
    EXPECT_EQ(whole.paper.x, (800 - whole.paper.width) / 2);
    EXPECT_EQ((whole.contentWidth), 800);  // nothing to scroll
    EXPECT_NEAR(whole.printable.x - whole.paper.x, 94.0 * whole.paper.width / 4961, 1);

    // 210 mm at 96 dpi is 794 pixels; the view scrolls over the paper and its gap.
    const app::PagePlacement actual = PlacePage(a4, PreviewZoom::actualSize, 800, 680, 96, 96);
    EXPECT_EQ(actual.paper.width, 794);
    EXPECT_EQ(actual.paper.height, 1123);
    EXPECT_EQ(actual.contentWidth, 794 + 2 * app::pageGap);
    EXPECT_EQ(actual.paper.y, app::pageGap);

    EXPECT_EQ(PlacePage({}, PreviewZoom::wholePage, 800, 680, 96, 96).paper.width, 0);
}

TEST(PreviewTexts, PageNumberAndLayoutButtons) {
    EXPECT_EQ(app::PageNumberText(2, 5), "第 2 页 / 共 5 页");
    EXPECT_EQ(app::LayoutButtonText(picture::PictureLayout::idCard), "版式：身份证正反面");
    EXPECT_EQ(app::PhotoCountButtonText(0), "张数：铺满一页");
    EXPECT_EQ(app::PhotoCountButtonText(4), "张数：4");
}

// The layout menu lists every layout, in their order, under one hidden item.
TEST(PreviewMenu, HoldsEveryLayoutInOrder) {
    const auto menu = app::PreviewMenu();
    ASSERT_EQ(menu.size(), picture::pictureLayoutCount + 1u);
    EXPECT_TRUE(menu[0].hiddenTop);
    EXPECT_EQ(menu[1].text, "拉伸铺满");
    EXPECT_EQ(menu[picture::pictureLayoutCount].text, "每页 9 张");
    EXPECT_EQ(menu[5].id, app::firstLayoutItem + 4);
}

}  // namespace
