#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

#include "picture/picture_layout.h"

namespace {

using device::PictureItem;
using picture::LaidOut;
using picture::PictureLayout;

// The test printer's A4 at 300 dpi, no unprintable edge: 2099 x 2970 tenths.
device::PaperSpec A4() {
    device::PaperSpec paper;
    paper.metrics = {2479, 3508, 0, 0, 2479, 3508};
    paper.dpiX = paper.dpiY = 300;
    return paper;
}

struct Photo final : device::PagePicture {
    Photo(int width, int height) : width(width), height(height) {}
    int Width() const override { return width; }
    int Height() const override { return height; }
    int width, height;
};

std::vector<picture::LayoutPicture> Pictures(int count, int width, int height, double dpi = 0) {
    const auto photo = std::make_shared<Photo>(width, height);
    return std::vector<picture::LayoutPicture>(count, {photo, dpi, dpi});
}

LaidOut Plan(const std::vector<picture::LayoutPicture>& pictures, PictureLayout layout,
             int count = 0, const device::PaperSpec& paper = A4()) {
    return picture::PlanPictures(paper, pictures, layout, count);
}

using Rect = std::array<int, 4>;
Rect Place(const PictureItem& item) { return {item.left, item.top, item.width, item.height}; }
Rect Crop(const PictureItem& i) { return {i.crop.left, i.crop.top, i.crop.width, i.crop.height}; }

bool Inside(int x, int y, const PictureItem& item) {
    return x > item.left && x < item.left + item.width && y > item.top &&
           y < item.top + item.height;
}

TEST(PhotoSizes, FillASheetWithSlotsTwoMillimetresApartCentredAndMarkedBetween) {
    LaidOut laid = Plan(Pictures(1, 300, 420), PictureLayout::inch1);
    const auto& page = laid.plan.pages.at(0);
    ASSERT_EQ(page.pictures.size(), 56u);  // 7 columns of 25 mm, 8 rows of 35 mm
    EXPECT_EQ(Place(page.pictures[0]), (Rect{(2099 - 1870) / 2, (2970 - 2940) / 2, 250, 350}));
    EXPECT_EQ(Place(page.pictures[8]), (Rect{114 + 270, 15 + 370, 250, 350}));
    EXPECT_EQ(Place(page.pictures[55]), (Rect{114 + 6 * 270, 15 + 7 * 370, 250, 350}));
    ASSERT_EQ(page.rules.size(), 56u * 8);
    for (const device::RuleItem& rule : page.rules) {
        EXPECT_EQ(std::abs(rule.x2 - rule.x1) + std::abs(rule.y2 - rule.y1), 10);
        const int middleX = (rule.x1 + rule.x2) / 2, middleY = (rule.y1 + rule.y2) / 2;
        for (const PictureItem& item : page.pictures) {
            ASSERT_FALSE(Inside(rule.x1, rule.y1, item) || Inside(middleX, middleY, item));
        }
    }
    // So many prints of each picture, one picture after the other, over as many pages as needed.
    laid = Plan(Pictures(2, 300, 420), PictureLayout::inch1, 30);
    ASSERT_EQ(laid.plan.pages.size(), 2u);
    EXPECT_EQ(laid.plan.pages[1].pictures.size(), 4u);
}

TEST(PhotoSizes, CutEachPictureToItsSlotTurningItWhereItLiesTheOtherWay) {
    const auto lying = Pictures(1, 400, 300);
    const PictureItem turned = Plan(lying, PictureLayout::inch1, 1).plan.pages[0].pictures.at(0);
    EXPECT_EQ(turned.quarterTurns, 1);
    // Turned it is 300 x 400; 25:35 of that keeps 286 of its 300 columns.
    EXPECT_EQ(Crop(turned), (Rect{7, 0, 286, 400}));
    // 6寸 lies down where only a lying slot fits, and is scaled down where neither does.
    device::PaperSpec paper = A4();
    paper.marginTop = 1850;
    LaidOut laid = Plan(lying, PictureLayout::inch6, 0, paper);
    EXPECT_EQ(laid.plan.pages.at(0).pictures.at(0).width, 1520);
    EXPECT_EQ(laid.plan.pages[0].pictures[0].quarterTurns, 0);
    paper.marginRight = 1099;
    laid = Plan(lying, PictureLayout::inch6, 0, paper);
    EXPECT_TRUE(laid.shrunkToFit);
    EXPECT_EQ(Place(laid.plan.pages.at(0).pictures.at(0)), (Rect{124, 1850, 752, 1120}));
}

TEST(IdCard, PutsTheTwoSidesOneAboveTheOtherCentredTurningAPortraitOne) {
    auto pictures = Pictures(3, 860, 540);
    pictures[1] = Pictures(1, 540, 860)[0];
    const LaidOut laid = Plan(pictures, PictureLayout::idCard);
    const auto& cards = laid.plan.pages.at(0).pictures;
    ASSERT_EQ(cards.size(), 2u);
    EXPECT_EQ(Place(cards[0]), (Rect{(2099 - 856) / 2, (2970 - 1180) / 2, 856, 540}));
    EXPECT_EQ(Place(cards[1]), (Rect{(2099 - 856) / 2, 895 + 540 + 100, 856, 540}));
    EXPECT_EQ(cards[1].quarterTurns, 1);
    EXPECT_EQ(Crop(cards[1]), (Rect{2, 0, 856, 540}));  // turned 860 x 540 cut to 85.6 : 54
    device::PaperSpec paper = A4();
    paper.marginTop = 2970 - 590;
    EXPECT_TRUE(Plan(pictures, PictureLayout::idCard, 0, paper).shrunkToFit);
}

TEST(SeveralToAPage, FitsEachPictureInItsCellTurnedWhereThatIsLargerAndStartsNewPages) {
    const LaidOut laid = Plan(Pictures(5, 400, 300), PictureLayout::perPage4);
    ASSERT_EQ(laid.plan.pages.size(), 2u);
    EXPECT_EQ(laid.plan.pages[0].pictures.size(), 4u);
    const PictureItem& first = laid.plan.pages[0].pictures[0];
    EXPECT_EQ(first.quarterTurns, 1);  // 1039 x 1385 in a 1039 x 1475 cell
    EXPECT_EQ(Place(first), (Rect{0, (1475 - 1385) / 2, 1039, 1385}));
    EXPECT_EQ(Place(laid.plan.pages[0].pictures[3]), (Rect{1059, 1495 + 45, 1039, 1385}));
}

TEST(OnePerPage, ActualSizeFollowsTheResolutionAndFitsWhatIsTooLarge) {
    device::PaperSpec paper = A4();
    paper.marginLeft = 100;
    LaidOut laid = Plan(Pictures(1, 1200, 900, 300), PictureLayout::actualSize, 0, paper);
    EXPECT_EQ(Place(laid.plan.pages.at(0).pictures.at(0)),
              (Rect{100 + (1999 - 1016) / 2, (2970 - 762) / 2, 1016, 762}));
    EXPECT_FALSE(laid.shrunkToFit);
    laid = Plan(Pictures(1, 96, 96), PictureLayout::actualSize);  // 96 dpi where none is recorded
    EXPECT_EQ(laid.plan.pages[0].pictures[0].width, 254);
    laid = Plan(Pictures(1, 6000, 4000, 96), PictureLayout::actualSize);
    EXPECT_TRUE(laid.shrunkToFit);
    EXPECT_EQ(Place(laid.plan.pages[0].pictures[0]), (Rect{0, (2970 - 1399) / 2, 2099, 1399}));
    // Filling the area cuts the middle of the picture to its proportions.
    laid = Plan(Pictures(1, 1000, 1000), PictureLayout::fill);
    EXPECT_EQ(Place(laid.plan.pages[0].pictures[0]), (Rect{0, 0, 2099, 2970}));
    EXPECT_EQ(Crop(laid.plan.pages[0].pictures[0]), (Rect{146, 0, 707, 1000}));
}

TEST(PictureLayouts, LeaveOutMissingAndEmptyPicturesAndLayNothingOutOfNothing) {
    auto pictures = Pictures(1, 0, 10);
    pictures.push_back({nullptr, 0, 0});
    for (int layout = 0; layout < picture::pictureLayoutCount; ++layout) {
        EXPECT_TRUE(Plan(pictures, PictureLayout(layout)).plan.pages.empty()) << layout;
        EXPECT_TRUE(Plan({}, PictureLayout(layout)).plan.pages.empty()) << layout;
    }
    pictures.push_back(Pictures(1, 10, 10)[0]);
    EXPECT_EQ(Plan(pictures, PictureLayout::fit).plan.pages.size(), 1u);
    EXPECT_EQ(picture::PlanPicturesAtSize(A4(), pictures, 500, 500).pages.size(), 1u);
}

}  // namespace
