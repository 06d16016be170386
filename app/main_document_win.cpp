#include "app/main_document_win.h"

#include <utility>

#include "app/main_window_description.h"
#include "app/program_texts.h"
#include "ui/text_win.h"
#include "ui/window_win.h"

namespace app {

std::optional<LoadedPicture> LoadPicture(std::vector<std::uint8_t> bytes,
                                         std::shared_ptr<const picture::DecodedPicture>* decoded) {
    if (decoded != nullptr) *decoded = nullptr;
    const std::optional<picture::PictureInfo> info = picture::ReadPictureInfo(bytes);
    if (!info) return std::nullopt;
    if (decoded != nullptr) {
        *decoded = picture::DecodedPicture::FromBytes(bytes);
        if (!*decoded) return std::nullopt;
    }
    return LoadedPicture{std::make_shared<const std::vector<std::uint8_t>>(std::move(bytes)), *info};
}

std::vector<LoadedPicture> LoadPictures(std::vector<std::uint8_t> bytes,
                                        std::shared_ptr<const picture::DecodedPicture>* decoded) {
    if (picture::RecognizeKind(bytes) != picture::Kind::Tiff) {
        std::optional<LoadedPicture> loaded = LoadPicture(std::move(bytes), decoded);
        if (!loaded) return {};
        return {std::move(*loaded)};
    }
    if (decoded != nullptr) *decoded = nullptr;
    const std::vector<picture::PictureInfo> pages = picture::ReadTiffPages(bytes);
    if (pages.empty()) return {};
    if (decoded != nullptr) {
        *decoded = picture::DecodedPicture::FromBytes(bytes);
        if (!*decoded) return {};
    }
    const auto file = std::make_shared<const std::vector<std::uint8_t>>(std::move(bytes));
    std::vector<LoadedPicture> loaded;
    for (const picture::PictureInfo& page : pages) loaded.push_back({file, page});
    return loaded;
}

std::shared_ptr<const picture::PictureObject> MainDocument::Picture() const {
    return decoded_ ? decoded_->Picture() : nullptr;
}

void MainDocument::SetPictures(ui::Window& main, std::vector<LoadedPicture> pictures,
                               std::shared_ptr<const picture::DecodedPicture> first) {
    pictures_ = std::move(pictures);
    shown_ = 0;
    decoded_ = std::move(first);
    undecodable_ = false;
    ShowDecoded(main);
}

bool MainDocument::Show(ui::Window& main, std::size_t index) {
    if (index >= pictures_.size()) return false;
    shown_ = index;
    decoded_ = nullptr;  // the one shown before goes first: large photos do not fit twice
    ShowDecoded(main);
    decoded_ = picture::DecodedPicture::FromBytes(*pictures_[index].file, pictures_[index].info.page);
    undecodable_ = decoded_ == nullptr;
    ShowDecoded(main);
    return decoded_ != nullptr;
}

bool MainDocument::RemoveShown(ui::Window& main) {
    if (pictures_.size() < 2) return false;
    pictures_.erase(pictures_.begin() + static_cast<std::ptrdiff_t>(shown_));
    Show(main, std::min(shown_, pictures_.size() - 1));
    return true;
}

void MainDocument::SetUndecodable(ui::Window& main) {
    SetPictures(main, {}, nullptr);
    undecodable_ = true;
}

void MainDocument::ShowDecoded(ui::Window& main) {
    if (decoded_ && pictures_.size() > 1) {
        main.SetPictureContent(pictureBox, decoded_->WithCaption(ui::Widen(
                                               PicturePlaceText(shown_ + 1, pictures_.size()))));
    } else {
        main.SetPictureContent(pictureBox, decoded_);
    }
}

}  // namespace app
