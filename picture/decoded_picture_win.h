// A picture file decoded once, as everything that shows or prints it shares it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "picture/decoders.h"
#include "picture/picture_data.h"
#include "picture/picture_object_win.h"
#include "ui/window_win.h"

namespace picture {

// The picture object, and for a GIF of several images its frames; picture boxes show it through
// PicturePainter.
class DecodedPicture final : public ui::PictureBoxContent {
public:
    // Null when the bytes give no picture (see PictureObject::FromBytes). A GIF whose frames do
    // not fit in memory is still shown, as its first image. page: of a file of several (TIFF).
    static std::shared_ptr<const DecodedPicture> FromBytes(Bytes bytes, int page = 0);

    DecodedPicture(std::shared_ptr<const PictureObject> picture,
                   std::vector<AnimationFrame> frames);

    // The same picture with a caption that a picture box writes in its corner, such as its place
    // among several; the pixels are shared, not copied.
    std::shared_ptr<const DecodedPicture> WithCaption(std::wstring caption) const;

    // Never null.
    const std::shared_ptr<const PictureObject>& Picture() const { return picture_; }
    // Two or more for an animated GIF, else none.
    const std::vector<AnimationFrame>& Frames() const { return *frames_; }
    const std::wstring& Caption() const { return caption_; }

private:
    std::shared_ptr<const PictureObject> picture_;
    std::shared_ptr<const std::vector<AnimationFrame>> frames_;
    std::wstring caption_;
};

}  // namespace picture
