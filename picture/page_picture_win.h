// A picture object as a page plan places it and the page renderer draws it.
#pragma once

#include <windows.h>

#include <memory>

#include "device/page_renderer_win.h"
#include "picture/picture_object_win.h"

namespace picture {

class PagePictureOf final : public device::DrawablePicture {
public:
    explicit PagePictureOf(std::shared_ptr<const PictureObject> picture)
        : picture_(std::move(picture)) {}

    int Width() const override { return picture_->Width(); }
    int Height() const override { return picture_->Height(); }
    int BandCount(HDC dc, const device::PictureItem& item) const override;
    void DrawBand(HDC dc, const device::PictureItem& item, const RECT& to, DWORD rop,
                  int band) const override;

private:
    // The picture turned and cropped as the item asks, made once for as long as it asks the same.
    const PictureObject& AsPlaced(const device::PictureItem& item) const;

    std::shared_ptr<const PictureObject> picture_;
    struct Placed {
        int quarterTurns = 0;
        device::PixelRect crop;
        std::shared_ptr<const PictureObject> picture;
    };
    mutable Placed placed_;
};

}  // namespace picture
