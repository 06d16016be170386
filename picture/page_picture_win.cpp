#include "picture/page_picture_win.h"

#include <algorithm>
#include <cstdlib>

#include "picture/render_win.h"
#include "picture/turn_and_crop.h"

namespace picture {

const PictureObject& PagePictureOf::AsPlaced(const device::PictureItem& item) const {
    const Image* pixels = picture_->Pixels();
    // Icons are drawn as Windows draws them, whole and upright.
    if (pixels == nullptr || (item.quarterTurns % 4 == 0 && item.crop.Empty())) return *picture_;
    const device::PixelRect& crop = item.crop;
    if (placed_.picture && placed_.quarterTurns == item.quarterTurns &&
        placed_.crop.left == crop.left && placed_.crop.top == crop.top &&
        placed_.crop.width == crop.width && placed_.crop.height == crop.height) {
        return *placed_.picture;
    }
    std::optional<Image> turned = TurnQuarters(*pixels, item.quarterTurns);
    if (turned && !crop.Empty()) turned = CropImage(*turned, crop.left, crop.top, crop.width, crop.height);
    // Without the memory for it the picture is drawn as it is rather than not at all.
    if (!turned) return *picture_;
    placed_ = {item.quarterTurns, crop,
               std::make_shared<const PictureObject>(
                   PictureObject::FromImage(picture_->GetKind(), std::move(*turned)))};
    return *placed_.picture;
}

int PagePictureOf::BandCount(HDC dc, const device::PictureItem& item, const RECT&) const {
    return RenderBandCount(dc, AsPlaced(item));
}

void PagePictureOf::DrawBand(HDC dc, const device::PictureItem& item, const RECT& to, DWORD rop,
                             int band) const {
    RenderPictureBand(dc, AsPlaced(item), to.left, to.top, to.right - to.left, to.bottom - to.top,
                      rop, band);
}

namespace {

// Draws band `band` of `bands` as the share of the picture's `drawn` bands it stands for: the
// bands are counted before the picture is decoded, and it is drawn whole however many it has.
template <typename Draw>
void DrawShare(int band, int bands, int drawn, const Draw& draw) {
    if (bands <= 0) return;
    const auto first = static_cast<int>(std::int64_t{band} * drawn / bands);
    const auto end = static_cast<int>((std::int64_t{band} + 1) * drawn / bands);
    for (int each = first; each < end; ++each) draw(each);
}

bool IsIcon(Kind kind) { return kind == Kind::Icon || kind == Kind::Cursor; }

int DeviceWidth(const RECT& to) { return std::max<int>(1, std::abs(to.right - to.left)); }
int DeviceHeight(const RECT& to) { return std::max<int>(1, std::abs(to.bottom - to.top)); }

}  // namespace

FilePagePicture::FilePagePicture(std::shared_ptr<const std::vector<std::uint8_t>> file, Kind kind,
                                 int width, int height, std::shared_ptr<PlacedPixelsCache> cache,
                                 int page)
    : file_(file ? std::move(file) : std::make_shared<const std::vector<std::uint8_t>>()),
      kind_(kind),
      width_(width),
      height_(height),
      cache_(cache ? std::move(cache) : std::make_shared<PlacedPixelsCache>()),
      page_(page) {}

int FilePagePicture::BandCount(HDC dc, const device::PictureItem& item, const RECT& to) const {
    // Icons are drawn in one.
    if (IsIcon(kind_)) return 1;
    const PlacedSize size = PlacedSizeFor(kind_, width_, height_, item.quarterTurns, item.crop,
                                          DeviceWidth(to), DeviceHeight(to));
    return RenderBandCount(dc, kind_, size.format, size.width, size.height);
}

void FilePagePicture::DrawBand(HDC dc, const device::PictureItem& item, const RECT& to, DWORD rop,
                               int band) const {
    const int bands = BandCount(dc, item, to);
    if (!wholeOnly_ && !IsIcon(kind_)) {
        if (const std::shared_ptr<const Image> pixels = Placed(item, to)) {
            DrawShare(band, bands,
                      RenderBandCount(dc, kind_, pixels->format, pixels->width, pixels->height),
                      [&](int each) {
                          RenderImageBand(dc, *pixels, kind_, to.left, to.top, to.right - to.left,
                                          to.bottom - to.top, rop, each);
                      });
            return;
        }
        wholeOnly_ = true;
    }
    if (const PagePictureOf* whole = Whole()) {
        DrawShare(band, bands, whole->BandCount(dc, item, to),
                  [&](int each) { whole->DrawBand(dc, item, to, rop, each); });
    }
}

std::shared_ptr<const Image> FilePagePicture::Placed(const device::PictureItem& item,
                                                     const RECT& to) const {
    const int width = DeviceWidth(to);
    const int height = DeviceHeight(to);
    return cache_->Get({file_, item.quarterTurns, item.crop, width, height, page_}, [&] {
        return PixelsForPlace(*file_, kind_, width_, height_, item.quarterTurns, item.crop, width,
                              height, page_);
    });
}

void FilePagePicture::Prepare(const device::PictureItem& item, const RECT& to) const {
    if (!wholeOnly_ && !IsIcon(kind_)) Placed(item, to);
}

const PagePictureOf* FilePagePicture::Whole() const {
    if (wholeTried_) return whole_.get();
    wholeTried_ = true;
    std::optional<PictureObject> picture = PictureObject::FromBytes(*file_, page_);
    if (picture) {
        whole_ = std::make_unique<PagePictureOf>(
            std::make_shared<const PictureObject>(std::move(*picture)));
    }
    return whole_.get();
}

}  // namespace picture
