#include "app/main_document_win.h"

#include <utility>

#include "app/main_window_description.h"
#include "ui/window_win.h"

namespace app {

std::shared_ptr<const picture::PictureObject> MainDocument::Picture() const {
    return decoded_ ? decoded_->Picture() : nullptr;
}

void MainDocument::SetPicture(ui::Window& main,
                              std::shared_ptr<const picture::DecodedPicture> decoded) {
    decoded_ = std::move(decoded);
    undecodable_ = false;
    main.SetPictureContent(pictureBox, decoded_);
}

void MainDocument::SetUndecodable(ui::Window& main) {
    SetPicture(main, nullptr);
    undecodable_ = true;
}

}  // namespace app
