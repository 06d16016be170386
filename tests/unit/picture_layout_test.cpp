#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "picture/picture_layout.h"

namespace {

using device::PictureItem;
using picture::LaidOut;
using picture::LayoutPicture;
using picture::PictureLayout;

// The test printer's A4 at 300 dpi, no unprintable edge: 2099 x 2970 tenths.
device::PaperSpec A4() {
    device::PaperSpec paper;
    paper.metrics = {2479, 3508, 0, 0, 2479, 3508};
    paper.dpiX = paper.dpiY = 300;
    return paper;
}

class Photo final : public device::PagePicture {
public:
    Photo(int width, int height) : width_(width), height_(height) {}
    int Width() const override { return width_; }
    int Height() const override { return height_; }

private:
    int width_;
    int height_;
};

std::vector<LayoutPicture> Pictures(int count, int width, int height, double dpi = 0) {
    std::vector<LayoutPicture> pictures;
    for (int n = 0; n < count; ++n) pictures.push_back({std::make_shared<Photo>(width, height), dpi, dpi});
    return pictures;
}

LaidOut Plan(const std::vector<LayoutPicture>& pictures, PictureLayout layout, int count = 0) {
    return picture::PlanPictures(A4(), pictures, layout, count);
}

bool Inside(int x, int y, const PictureItem& item) {
    return x > item.left && x < item.left + item.width && y > item.top && y < item.top + item.height;
}

TEST(PhotoSizes, FillASheetWithSlotsTwoMillimetresApartCentredAndMarkedBetween) {
    LaidOut laid = Plan(Pictures(1, 300, 420), PictureLayout::inch1);
    ASSERT_EQ(laid.plan.pages.size(), 1u);
    const auto& page = laid.plan.pages[0];
    ASSERT_EQ(page.pictures.size(), 56u);  // 7 columns of 25 mm, 8 rows of 35 mm
    EXPECT_EQ(page.pictures[0].left, (2099 - 1870) / 2);
    EXPECT_EQ(page.pictures[0].top, (2970 - 2940) / 2);
    EXPECT_EQ(page.pictures[1].left - page.pictures[0].left, 270);
    EXPECT_EQ(page.pictures[7].top - page.pictures[0].top, 370);
    for (const PictureItem& item : page.pictures) {
        ASSERT_EQ(item.width, 250);
        ASSERT_EQ(item.height, 350);
        ASSERT_LE(item.left + item.width, 2099);
        ASSERT_LE(item.top + item.height, 2970);
    }
    ASSERT_EQ(page.rules.size(), 56u * 8);
    for (const device::RuleItem& rule : page.rules) {
        EXPECT_EQ(std::abs(rule.x2 - rule.x1) + std::abs(rule.y2 - rule.y1), 10);
        for (const PictureItem& item : page.pictures) {
            ASSERT_FALSE(Inside(rule.x1, rule.y1, item) || Inside((rule.x1 + rule.x2) / 2, (rule.y1 + rule.y2) / 2, item));
        }
    }
    // So many prints of each picture, one picture after the other, over as many pages as needed.
    laid = Plan(Pictures(2, 300, 420), PictureLayout::inch1, 30);
    ASSERT_EQ(laid.plan.pages.size(), 2u);
    EXPECT_EQ(laid.plan.pages[1].pictures.size(), 4u);
    EXPECT_FALSE(laid.shrunkToFit);
}

TEST(PhotoSizes, CutEachPictureToItsSlotTurningItWhereItLiesTheOtherWay) {
    const PictureItem turned = Plan(Pictures(1, 400, 300), PictureLayout::inch1, 1).plan.pages[0].pictures.at(0);
    EXPECT_EQ(turned.quarterTurns, 1);
    // Turned it is 300 x 400; 25:35 of that keeps 286 of its 300 columns.
    EXPECT_EQ(turned.crop.left, 7);
    EXPECT_EQ(turned.crop.width, 286);
    EXPECT_EQ(turned.crop.height, 400);
    EXPECT_EQ(Plan(Pictures(1, 300, 400), PictureLayout::inch1, 1).plan.pages[0].pictures.at(0).quarterTurns, 0);
    // 6寸 lies down where only a lying slot fits, and is scaled down where neither does.
    device::PaperSpec paper = A4();
    paper.marginTop = 1850;
    const auto photo = Pictures(1, 400, 300);
    LaidOut laid = picture::PlanPictures(paper, photo, PictureLayout::inch6, 0);
    ASSERT_EQ(laid.plan.pages.size(), 1u);
    EXPECT_EQ(laid.plan.pages[0].pictures.at(0).width, 1520);
    EXPECT_EQ(laid.plan.pages[0].pictures[0].quarterTurns, 0);
    paper.marginRight = 1099;
    laid = picture::PlanPictures(paper, photo, PictureLayout::inch6, 0);
    EXPECT_TRUE(laid.shrunkToFit);
    EXPECT_EQ(laid.plan.pages.at(0).pictures.at(0).width, 752);  // 1000 x 1120 left
    EXPECT_EQ(laid.plan.pages[0].pictures[0].height, 1120);
}

TEST(IdCard, PutsTheTwoSidesOneAboveTheOtherCentredTurningAPortraitOne) {
    std::vector<LayoutPicture> pictures = Pictures(3, 860, 540);
    pictures[1] = Pictures(1, 540, 860)[0];
    const LaidOut laid = Plan(pictures, PictureLayout::idCard);
    ASSERT_EQ(laid.plan.pages.size(), 1u);
    const auto& cards = laid.plan.pages[0].pictures;
    ASSERT_EQ(cards.size(), 2u);
    EXPECT_EQ(cards[0].left, (2099 - 856) / 2);
    EXPECT_EQ(cards[0].top, (2970 - 1180) / 2);
    EXPECT_EQ(cards[1].top, cards[0].top + 540 + 100);
    EXPECT_EQ(cards[1].width, 856);
    EXPECT_EQ(cards[1].height, 540);
    EXPECT_EQ(cards[0].quarterTurns, 0);
    EXPECT_EQ(cards[1].quarterTurns, 1);
    EXPECT_EQ(cards[0].crop.left, 2);  // 860 x 540 cut to 85.6 : 54
    EXPECT_EQ(cards[1].crop.width, 856);
    EXPECT_FALSE(laid.shrunkToFit);
}

TEST(SeveralToAPage, FitsEachPictureInItsCellTurnedWhereThatIsLargerAndStartsNewPages) {
    const LaidOut laid = Plan(Pictures(5, 400, 300), PictureLayout::perPage4);
    ASSERT_EQ(laid.plan.pages.size(), 2u);
    EXPECT_EQ(laid.plan.pages[0].pictures.size(), 4u);
    const PictureItem& first = laid.plan.pages[0].pictures[0];
    EXPECT_EQ(first.quarterTurns, 1);  // 1039 x 1385 in a 1039 x 1475 cell
    EXPECT_EQ(first.width, 1039);
    EXPECT_EQ(first.height, 1385);
    EXPECT_EQ(first.top, (1475 - 1385) / 2);
    EXPECT_EQ(laid.plan.pages[0].pictures[3].left, 1039 + 20);
}

TEST(OnePerPage, ActualSizeFollowsTheResolutionAndFitsWhatIsTooLarge) {
    device::PaperSpec paper = A4();
    paper.marginLeft = 100;
    LaidOut laid = picture::PlanPictures(paper, Pictures(1, 1200, 900, 300), PictureLayout::actualSize, 0);
    const PictureItem& item = laid.plan.pages.at(0).pictures.at(0);
    EXPECT_EQ(item.width, 1016);
    EXPECT_EQ(item.height, 762);
    EXPECT_EQ(item.left, 100 + (1999 - 1016) / 2);
    EXPECT_EQ(item.top, (2970 - 762) / 2);
    EXPECT_FALSE(laid.shrunkToFit);
    EXPECT_EQ(Plan(Pictures(1, 96, 96), PictureLayout::actualSize).plan.pages[0].pictures[0].width, 254);
    laid = Plan(Pictures(1, 6000, 4000, 96), PictureLayout::actualSize);
    EXPECT_TRUE(laid.shrunkToFit);
    EXPECT_EQ(laid.plan.pages[0].pictures[0].width, 2099);
    EXPECT_EQ(laid.plan.pages[0].pictures[0].height, 1399);
    // Filling the area cuts the middle of the picture to its proportions.
    const PictureItem filled = Plan(Pictures(1, 1000, 1000), PictureLayout::fill).plan.pages[0].pictures[0];
    EXPECT_EQ(filled.width, 2099);
    EXPECT_EQ(filled.crop.left, 146);
    EXPECT_EQ(filled.crop.width, 707);
    EXPECT_EQ(filled.crop.height, 1000);
}

TEST(PictureLayouts, LeaveOutMissingAndEmptyPicturesAndLayNothingOutOfNothing) {
    std::vector<LayoutPicture> pictures = Pictures(1, 0, 10);
    pictures.push_back({nullptr, 0, 0});
    for (int layout = 0; layout < picture::pictureLayoutCount; ++layout) {
        EXPECT_TRUE(Plan(pictures, PictureLayout(layout), 0).plan.pages.empty()) << layout;
        EXPECT_TRUE(Plan({}, PictureLayout(layout), 0).plan.pages.empty()) << layout;
    }
    pictures.push_back(Pictures(1, 10, 10)[0]);
    EXPECT_EQ(Plan(pictures, PictureLayout::fit).plan.pages.size(), 1u);
    EXPECT_EQ(picture::PlanPicturesAtSize(A4(), pictures, 500, 500).pages.size(), 1u);
    EXPECT_EQ(picture::LayoutName(PictureLayout::perPage9), "每页 9 张");
}

}  // namespace
