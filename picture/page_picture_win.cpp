#include "picture/page_picture_win.h"

#include "picture/render_win.h"

namespace picture {

int PagePictureOf::BandCount(HDC dc, const device::PictureItem&) const {
    return RenderBandCount(dc, *picture_);
}

void PagePictureOf::DrawBand(HDC dc, const device::PictureItem&, const RECT& to, DWORD rop,
                             int band) const {
    RenderPictureBand(dc, *picture_, to.left, to.top, to.right - to.left, to.bottom - to.top, rop,
                      band);
}

}  // namespace picture
