// Pictures as a page plan places them and the page renderer draws them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "device/page_renderer_win.h"
#include "picture/place_pixels.h"
#include "picture/picture_object_win.h"

namespace picture {

// A picture object already decoded, drawn turned and cropped as the item asks.
class PagePictureOf final : public device::DrawablePicture {
public:
    explicit PagePictureOf(std::shared_ptr<const PictureObject> picture)
        : picture_(std::move(picture)) {}

    int Width() const override { return picture_->Width(); }
    int Height() const override { return picture_->Height(); }
    int BandCount(HDC dc, const device::PictureItem& item, const RECT& to) const override;
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

// A picture file's bytes, decoded only when a place of it is drawn and then at no more pixels
// than the device shows there (PixelsForPlace), kept in the job's cache. Icons and cursors, and
// files whose pixels cannot be prepared so, are decoded whole once, as a PagePictureOf, and kept
// while this lives; a file that does not decode at all draws nothing.
class FilePagePicture final : public device::DrawablePicture {
public:
    // width × height: the upright picture's full size, as the decoders give it; page: the page
    // of a file of several (TIFF) that this picture is.
    FilePagePicture(std::shared_ptr<const std::vector<std::uint8_t>> file, Kind kind, int width,
                    int height, std::shared_ptr<PlacedPixelsCache> cache, int page = 0);

    int Width() const override { return width_; }
    int Height() const override { return height_; }
    // From the sizes alone: never decodes.
    int BandCount(HDC dc, const device::PictureItem& item, const RECT& to) const override;
    void DrawBand(HDC dc, const device::PictureItem& item, const RECT& to, DWORD rop,
                  int band) const override;
    void Prepare(const device::PictureItem& item, const RECT& to) const override;

private:
    const PagePictureOf* Whole() const;
    std::shared_ptr<const Image> Placed(const device::PictureItem& item, const RECT& to) const;

    std::shared_ptr<const std::vector<std::uint8_t>> file_;
    Kind kind_;
    int width_;
    int height_;
    std::shared_ptr<PlacedPixelsCache> cache_;
    int page_;
    mutable bool wholeOnly_ = false;
    mutable bool wholeTried_ = false;
    mutable std::unique_ptr<PagePictureOf> whole_;
};

}  // namespace picture
