#include "picture/picture_layout.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <utility>

namespace picture {
namespace {

using device::PagePlan;
using device::PaperSpec;
using device::PictureItem;
using device::PixelRect;
using device::PlanPage;

constexpr double tenthsPerInch = 254;
constexpr double unrecordedDpi = 96;
constexpr int slotGap = 20;  // between photo prints, and between the cells of several to a page
constexpr int cardWidth = 856;
constexpr int cardHeight = 540;
constexpr int cardGap = 100;
constexpr int cardsHeight = 2 * cardHeight + cardGap;

constexpr std::array<std::string_view, pictureLayoutCount> layoutNames = {
    "拉伸铺满", "按比例适应", "按比例填满", "实际尺寸",
    "1寸", "小2寸", "2寸", "5寸", "6寸", "7寸",
    "身份证正反面", "每页 2 张", "每页 4 张", "每页 6 张", "每页 9 张"};

struct Size {
    int width = 0;
    int height = 0;
};

struct Box {
    int left = 0;
    int top = 0;
    Size size;
};

int Round(double value) { return static_cast<int>(std::floor(value + 0.5)); }

std::int64_t Area(Size size) { return static_cast<std::int64_t>(size.width) * size.height; }

Size Turned(Size size) { return {size.height, size.width}; }

// 1 lying (landscape), -1 standing (portrait), 0 square.
int Lie(Size size) { return (size.width > size.height) - (size.width < size.height); }

bool Usable(const LayoutPicture& picture) {
    return picture.picture && picture.picture->Width() > 0 && picture.picture->Height() > 0;
}

Size PixelSize(const LayoutPicture& picture) {
    return {picture.picture->Width(), picture.picture->Height()};
}

// The largest size of the picture's proportions inside the box (of some size), at least a
// tenth a side.
Size FitInside(Size picture, Size box) {
    const bool widthLimits = static_cast<std::int64_t>(box.width) * picture.height <=
                             static_cast<std::int64_t>(box.height) * picture.width;
    if (widthLimits) {
        const double height = static_cast<double>(picture.height) * box.width / picture.width;
        return {box.width, std::clamp(Round(height), 1, box.height)};
    }
    const double width = static_cast<double>(picture.width) * box.height / picture.height;
    return {std::clamp(Round(width), 1, box.width), box.height};
}

// The middle of the picture with the box's proportions, in the picture's pixels.
PixelRect CentreCrop(Size picture, Size box) {
    if (static_cast<std::int64_t>(picture.width) * box.height >
        static_cast<std::int64_t>(picture.height) * box.width) {
        const double width = static_cast<double>(picture.height) * box.width / box.height;
        const int kept = std::clamp(Round(width), 1, picture.width);
        return {(picture.width - kept) / 2, 0, kept, picture.height};
    }
    const double height = static_cast<double>(picture.width) * box.height / box.width;
    const int kept = std::clamp(Round(height), 1, picture.height);
    return {0, (picture.height - kept) / 2, picture.width, kept};
}

// Where a box of the area goes on the page.
PictureItem Item(const PaperSpec& paper, const LayoutPicture& picture, Box box) {
    PictureItem item;
    item.picture = picture.picture;
    item.left = paper.marginLeft + box.left;
    item.top = paper.marginTop + box.top;
    item.width = box.size.width;
    item.height = box.size.height;
    return item;
}

// The picture over the whole box, cut at its centre to the box's proportions; turned a quarter
// first, when it may be, where it lies the other way from the box.
PictureItem Covering(const PaperSpec& paper, const LayoutPicture& picture, Box box, bool mayTurn) {
    PictureItem item = Item(paper, picture, box);
    Size size = PixelSize(picture);
    if (mayTurn && Lie(size) * Lie(box.size) < 0) {
        item.quarterTurns = 1;
        size = Turned(size);
    }
    item.crop = CentreCrop(size, box.size);
    return item;
}

Box Centred(Size size, Size area) {
    return {(area.width - size.width) / 2, (area.height - size.height) / 2, size};
}

// Equal cells in columns and rows, the block of them centred on the area.
struct Grid {
    int columns = 0;
    int rows = 0;
    Size cell;
    int gap = 0;
    int left = 0;
    int top = 0;

    Grid(int columns, int rows, Size cell, int gap, Size area)
        : columns(columns), rows(rows), cell(cell), gap(gap) {
        left = (area.width - (columns * (cell.width + gap) - gap)) / 2;
        top = (area.height - (rows * (cell.height + gap) - gap)) / 2;
    }
    int Cells() const { return columns * rows; }
    Box CellBox(int index) const {
        return {left + index % columns * (cell.width + gap),
                top + index / columns * (cell.height + gap), cell};
    }
};

// How many slots of a length go along one with the gap between them.
int SlotsAlong(int length, int slot) {
    const std::int64_t slots = (static_cast<std::int64_t>(length) + slotGap) / (slot + slotGap);
    return static_cast<int>(std::min<std::int64_t>(slots, mostPrintsOfAPicture));
}

Grid PhotoGrid(Size slot, Size area) {
    return {SlotsAlong(area.width, slot.width), SlotsAlong(area.height, slot.height), slot, slotGap,
            area};
}

// Short lines at each corner of the box continuing its edges outwards half a gap, shortened to
// stay inside the area.
void AddCutMarks(const PaperSpec& paper, Box box, Size area, PlanPage& page) {
    const int reach = slotGap / 2;
    const auto mark = [&](int x1, int y1, int x2, int y2) {
        if (x1 == x2 && y1 == y2) return;
        page.rules.push_back({paper.marginLeft + x1, paper.marginTop + y1, paper.marginLeft + x2,
                              paper.marginTop + y2, 0});
    };
    for (const int right : {0, 1}) {
        const int x = box.left + right * box.size.width;
        const int outX = std::clamp(x + (right ? reach : -reach), 0, area.width);
        for (const int bottom : {0, 1}) {
            const int y = box.top + bottom * box.size.height;
            const int outY = std::clamp(y + (bottom ? reach : -reach), 0, area.height);
            mark(outX, y, x, y);
            mark(x, outY, x, y);
        }
    }
}

// The picture at the resolution its file records, or fitted to the area where that is larger.
Size ActualSize(const LayoutPicture& picture, Size area, bool& shrunk) {
    const auto dpi = [](double recorded) {
        return recorded > 0 && std::isfinite(recorded) ? recorded : unrecordedDpi;
    };
    const Size size = PixelSize(picture);
    const double width = size.width / dpi(picture.dpiX) * tenthsPerInch;
    const double height = size.height / dpi(picture.dpiY) * tenthsPerInch;
    if (width < area.width + 0.5 && height < area.height + 0.5) {
        return {std::max(1, Round(width)), std::max(1, Round(height))};
    }
    shrunk = true;
    return FitInside(size, area);
}

LaidOut OnePerPage(const PaperSpec& paper, std::span<const LayoutPicture> pictures,
                   PictureLayout layout) {
    LaidOut laidOut{{paper, {}, {}}, false};
    const Size area{paper.PrintableWidth(), paper.PrintableHeight()};
    for (const LayoutPicture& picture : pictures) {
        if (!Usable(picture)) continue;
        const Size size = PixelSize(picture);
        PictureItem item;
        switch (layout) {
        case PictureLayout::fit:
            item = Item(paper, picture, Centred(FitInside(size, area), area));
            break;
        case PictureLayout::fill: item = Covering(paper, picture, {0, 0, area}, false); break;
        case PictureLayout::actualSize: {
            const Size printed = ActualSize(picture, area, laidOut.shrunkToFit);
            item = Item(paper, picture, Centred(printed, area));
            break;
        }
        default: item = Item(paper, picture, {0, 0, area}); break;
        }
        laidOut.plan.pages.push_back(PlanPage{{}, {std::move(item)}, {}});
    }
    return laidOut;
}

Size PhotoSlot(PictureLayout layout) {
    switch (layout) {
    case PictureLayout::inch1: return {250, 350};
    case PictureLayout::smallInch2: return {330, 480};
    case PictureLayout::inch2: return {350, 490};
    case PictureLayout::inch5: return {890, 1270};
    case PictureLayout::inch6: return {1020, 1520};
    default: return {1270, 1780};
    }
}

LaidOut PhotoPrints(const PaperSpec& paper, std::span<const LayoutPicture> pictures, Size slot,
                    int count) {
    LaidOut laidOut{{paper, {}, {}}, false};
    const Size area{paper.PrintableWidth(), paper.PrintableHeight()};
    Grid grid = PhotoGrid(slot, area);
    if (grid.Cells() == 0) grid = PhotoGrid(Turned(slot), area);
    if (grid.Cells() == 0) {
        const Size upright = FitInside(slot, area);
        const Size turned = FitInside(Turned(slot), area);
        grid = Grid(1, 1, Area(turned) > Area(upright) ? turned : upright, slotGap, area);
        laidOut.shrunkToFit = true;
    }
    const int prints = std::min(count > 0 ? count : grid.Cells(), mostPrintsOfAPicture);
    int slotIndex = 0;
    for (const LayoutPicture& picture : pictures) {
        if (!Usable(picture)) continue;
        for (int print = 0; print < prints; ++print) {
            if (slotIndex == 0) laidOut.plan.pages.emplace_back();
            PlanPage& page = laidOut.plan.pages.back();
            const Box box = grid.CellBox(slotIndex);
            page.pictures.push_back(Covering(paper, picture, box, true));
            AddCutMarks(paper, box, area, page);
            slotIndex = (slotIndex + 1) % grid.Cells();
        }
    }
    return laidOut;
}

LaidOut IdCard(const PaperSpec& paper, std::span<const LayoutPicture> pictures) {
    LaidOut laidOut{{paper, {}, {}}, false};
    const Size area{paper.PrintableWidth(), paper.PrintableHeight()};
    const auto sides = pictures.first(std::min<std::size_t>(pictures.size(), 2));
    if (std::none_of(sides.begin(), sides.end(), Usable)) return laidOut;
    Size card{cardWidth, cardHeight};
    int gap = cardGap;
    if (cardWidth > area.width || cardsHeight > area.height) {
        const double scale = std::min(static_cast<double>(area.width) / cardWidth,
                                      static_cast<double>(area.height) / cardsHeight);
        card = {std::min(Round(cardWidth * scale), area.width), Round(cardHeight * scale)};
        gap = Round(cardGap * scale);
        // Rounded, the three lengths may come to a tenth more than the area: the gap gives it up.
        gap = std::max(0, std::min(gap, area.height - 2 * card.height));
        card.height = std::min(card.height, area.height / 2);
        laidOut.shrunkToFit = true;
    }
    const Box top = Centred({card.width, 2 * card.height + gap}, area);
    PlanPage& page = laidOut.plan.pages.emplace_back();
    for (std::size_t side = 0; side < sides.size(); ++side) {
        if (!Usable(sides[side])) continue;
        const Box box{top.left, top.top + static_cast<int>(side) * (card.height + gap), card};
        page.pictures.push_back(Covering(paper, sides[side], box, true));
    }
    return laidOut;
}

LaidOut SeveralToAPage(const PaperSpec& paper, std::span<const LayoutPicture> pictures,
                       PictureLayout layout) {
    LaidOut laidOut{{paper, {}, {}}, false};
    const Size area{paper.PrintableWidth(), paper.PrintableHeight()};
    // Columns and rows on portrait paper.
    auto [columns, rows] = layout == PictureLayout::perPage2   ? std::pair{1, 2}
                           : layout == PictureLayout::perPage4 ? std::pair{2, 2}
                           : layout == PictureLayout::perPage6 ? std::pair{2, 3}
                                                               : std::pair{3, 3};
    if (area.width > area.height) std::swap(columns, rows);
    const Size cell{(area.width - (columns - 1) * slotGap) / columns,
                    (area.height - (rows - 1) * slotGap) / rows};
    if (cell.width <= 0 || cell.height <= 0) return laidOut;
    const Grid grid(columns, rows, cell, slotGap, area);
    int cellIndex = 0;
    for (const LayoutPicture& picture : pictures) {
        if (!Usable(picture)) continue;
        if (cellIndex == 0) laidOut.plan.pages.emplace_back();
        const Size size = PixelSize(picture);
        const Size upright = FitInside(size, cell);
        const Size turned = FitInside(Turned(size), cell);
        const bool turn = Area(turned) > Area(upright);
        const Box inCell = Centred(turn ? turned : upright, cell);
        const Box cellBox = grid.CellBox(cellIndex);
        const Box placed{cellBox.left + inCell.left, cellBox.top + inCell.top, inCell.size};
        PictureItem item = Item(paper, picture, placed);
        item.quarterTurns = turn ? 1 : 0;
        laidOut.plan.pages.back().pictures.push_back(std::move(item));
        cellIndex = (cellIndex + 1) % grid.Cells();
    }
    return laidOut;
}

}  // namespace

std::string_view LayoutName(PictureLayout layout) {
    const int index = static_cast<int>(layout);
    return index >= 0 && index < pictureLayoutCount ? layoutNames[static_cast<std::size_t>(index)]
                                                    : std::string_view{};
}

bool IsPhotoSize(PictureLayout layout) {
    return layout >= PictureLayout::inch1 && layout <= PictureLayout::inch7;
}

LaidOut PlanPictures(const PaperSpec& paper, std::span<const LayoutPicture> pictures,
                     PictureLayout layout, int count) {
    if (paper.PrintableWidth() <= 0 || paper.PrintableHeight() <= 0) {
        return {{paper, {}, {}}, false};
    }
    if (IsPhotoSize(layout)) return PhotoPrints(paper, pictures, PhotoSlot(layout), count);
    switch (layout) {
    case PictureLayout::stretch:
    case PictureLayout::fit:
    case PictureLayout::fill:
    case PictureLayout::actualSize: return OnePerPage(paper, pictures, layout);
    case PictureLayout::idCard: return IdCard(paper, pictures);
    case PictureLayout::perPage2:
    case PictureLayout::perPage4:
    case PictureLayout::perPage6:
    case PictureLayout::perPage9: return SeveralToAPage(paper, pictures, layout);
    default: return {{paper, {}, {}}, false};
    }
}

PagePlan PlanPicturesAtSize(const PaperSpec& paper, std::span<const LayoutPicture> pictures,
                            int width, int height) {
    PagePlan plan{paper, {}, {}};
    if (width <= 0 || height <= 0) return plan;
    for (const LayoutPicture& picture : pictures) {
        if (!Usable(picture)) continue;
        plan.pages.push_back(
            std::move(device::PlanPicture(paper, picture.picture, width, height).pages.front()));
    }
    return plan;
}

}  // namespace picture
