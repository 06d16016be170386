#include "picture/decoded_picture_win.h"

#include <new>
#include <optional>
#include <utility>

namespace picture {

std::shared_ptr<const DecodedPicture> DecodedPicture::FromBytes(Bytes bytes, int page) {
    try {
        std::optional<PictureObject> picture = PictureObject::FromBytes(bytes, page);
        if (!picture) return nullptr;
        std::vector<AnimationFrame> frames;
        if (picture->GetKind() == Kind::Gif) {
            try {
                if (std::optional<Animation> animation = DecodeGifAnimation(bytes)) {
                    frames = std::move(animation->frames);
                }
            } catch (const std::bad_alloc&) {
                frames.clear();
            }
        }
        return std::make_shared<const DecodedPicture>(
            std::make_shared<const PictureObject>(std::move(*picture)), std::move(frames));
    } catch (const std::bad_alloc&) {
        return nullptr;  // too large for the memory left, as PictureObject::FromBytes treats it
    }
}

DecodedPicture::DecodedPicture(std::shared_ptr<const PictureObject> picture,
                               std::vector<AnimationFrame> frames)
    : picture_(std::move(picture)),
      frames_(std::make_shared<const std::vector<AnimationFrame>>(std::move(frames))) {}

std::shared_ptr<const DecodedPicture> DecodedPicture::WithCaption(std::wstring caption) const {
    auto captioned = std::make_shared<DecodedPicture>(*this);
    captioned->caption_ = std::move(caption);
    return captioned;
}

}  // namespace picture
