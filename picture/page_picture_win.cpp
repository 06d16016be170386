#include "picture/page_picture_win.h"

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

int PagePictureOf::BandCount(HDC dc, const device::PictureItem& item) const {
    return RenderBandCount(dc, AsPlaced(item));
}

void PagePictureOf::DrawBand(HDC dc, const device::PictureItem& item, const RECT& to, DWORD rop,
                             int band) const {
    RenderPictureBand(dc, AsPlaced(item), to.left, to.top, to.right - to.left, to.bottom - to.top,
                      rop, band);
}

}  // namespace picture
