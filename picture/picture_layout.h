// The layouts ("版式") a picture job offers: how the pictures chosen go onto the pages of a plan.
// One to a page stretched, fitted, filling the area or at their own size; photo prints of the
// usual 寸 sizes with cut marks between them; the two sides of an identity card; or several
// pictures to a page. Every length is in 0.1 mm, placed as the page plan places things: from the
// corner of the paper's printable area, the margins added in.
#pragma once

#include <memory>
#include <span>
#include <string_view>

#include "device/page_plan.h"

namespace picture {

enum class PictureLayout : int {
    stretch,
    fit,
    fill,
    actualSize,
    inch1,
    smallInch2,
    inch2,
    inch5,
    inch6,
    inch7,
    idCard,
    perPage2,
    perPage4,
    perPage6,
    perPage9,
};
inline constexpr int pictureLayoutCount = 15;

// The name the job's settings show (UTF-8); empty for a value that is no layout.
std::string_view LayoutName(PictureLayout layout);

// The six photo print sizes, 1寸 to 7寸.
bool IsPhotoSize(PictureLayout layout);

// A picture to lay out, with the resolution its file records (0: none, which counts as 96 dpi).
struct LayoutPicture {
    std::shared_ptr<const device::PagePicture> picture;
    double dpiX = 0;
    double dpiY = 0;
};

struct LaidOut {
    device::PagePlan plan;
    bool shrunkToFit = false;  // something was made smaller than the layout asks, to fit the area
};

// More prints of one picture than this are taken as this many.
inline constexpr int mostPrintsOfAPicture = 1000;

// The pictures in the layout, in the order given. Pictures of no size, and missing ones, are
// left out (in the identity card layout their box stays empty). No pictures, or a printable area
// of no size, make a plan with no pages.
//
// stretch: each picture over the whole area, one to a page. fit: as large as fits with its
// proportions, centred. fill: covering the whole area with its proportions, cut at its centre.
// actualSize: at its own resolution, centred; fitted (and shrunkToFit) where larger than the area.
//
// Photo sizes: portrait slots 2 mm apart in a grid centred on the area; landscape slots when no
// portrait one fits; one slot a page scaled down (shrunkToFit) when neither does. Each picture
// fills `count` slots (0 or less: a sheet's worth), one picture after the other, a new page when
// a page is full. Each slot shows its picture cut at the centre to the slot's proportions, turned
// a quarter clockwise when it lies the other way from the slot, with cut marks at the corners
// continuing the slot's edges 1 mm outwards (shortened where the area ends).
//
// idCard: the first two pictures in 85.6 × 54 mm boxes, one above the other, 10 mm apart, the
// two centred on the area (scaled down to fit, shrunkToFit, where they do not); each cut at its
// centre to the box's proportions, turned a quarter when it is portrait.
//
// perPage2/4/6/9: cells 2 mm apart over the area, 1×2, 2×2, 2×3 or 3×3 (columns × rows) on
// portrait paper and the other way round on landscape; each picture as large as fits its cell,
// centred, turned a quarter when that prints it larger; a new page when a page is full.
LaidOut PlanPictures(const device::PaperSpec& paper, std::span<const LayoutPicture> pictures,
                     PictureLayout layout, int count);

// A size chosen by hand: each picture on a page of its own, width × height, placed as
// device::PlanPicture places one. A size of nothing lays out nothing.
device::PagePlan PlanPicturesAtSize(const device::PaperSpec& paper,
                                    std::span<const LayoutPicture> pictures, int width, int height);

}  // namespace picture
