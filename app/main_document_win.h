// What the main window holds besides the text of its edit box: the picture, decoded once from
// its file and shared by the picture box, the adjustment window and the print job. The file's
// bytes are not kept: nothing needs them once decoded.
#pragma once

#include <memory>

#include "picture/decoded_picture_win.h"

namespace ui {
class Window;
}

namespace app {

class MainDocument {
public:
    // The picture to show and print; null when there is none, also for data that gave none.
    std::shared_ptr<const picture::PictureObject> Picture() const;
    // The print decision's "picture present": a picture, or data that gave none (a background
    // picture file that does not decode), which the print job refuses rather than skips.
    bool HasPicture() const { return decoded_ != nullptr || undecodable_; }
    // As picture boxes show it; null when there is no picture.
    const std::shared_ptr<const picture::DecodedPicture>& Decoded() const { return decoded_; }

    // The picture becomes the document's and the main picture box shows it; null for none.
    void SetPicture(ui::Window& main, std::shared_ptr<const picture::DecodedPicture> decoded);
    // Data that gave no picture: the box is left empty.
    void SetUndecodable(ui::Window& main);

private:
    std::shared_ptr<const picture::DecodedPicture> decoded_;
    bool undecodable_ = false;
};

}  // namespace app
