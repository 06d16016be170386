// What the main window holds besides the text of its edit box: the pictures loaded, one of them
// shown in the picture box. Each keeps its file's bytes, which print jobs decode at the size they
// need; only the picture shown is held decoded, once, shared by the picture box and the
// adjustment window.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "picture/decoded_picture_win.h"
#include "picture/decoders.h"

namespace ui {
class Window;
}

namespace app {

// A picture file as loaded: its bytes, and its kind, upright size and resolution; for a file of
// several pages (TIFF), one page of it (info.page), each page being a picture of its own.
struct LoadedPicture {
    std::shared_ptr<const std::vector<std::uint8_t>> file;
    picture::PictureInfo info;
};

class MainDocument {
public:
    // The picture shown, to show and print; null when there is none, also for data that gave none.
    std::shared_ptr<const picture::PictureObject> Picture() const;
    // The print decision's "picture present": a picture, or data that gave none (a background
    // picture file that does not decode), which the print job refuses rather than skips.
    bool HasPicture() const { return decoded_ != nullptr || undecodable_; }
    // As picture boxes show it, without the place caption; null when there is no picture.
    const std::shared_ptr<const picture::DecodedPicture>& Decoded() const { return decoded_; }

    // Every picture loaded, in the order given, and which one is shown.
    const std::vector<LoadedPicture>& Pictures() const { return pictures_; }
    std::size_t Shown() const { return shown_; }

    // The pictures become the document's, the first shown as decoded (never null); the main
    // picture box shows it with its place when there are several.
    void SetPictures(ui::Window& main, std::vector<LoadedPicture> pictures,
                     std::shared_ptr<const picture::DecodedPicture> first);
    // Shows another of the pictures, decoding it; false when it does not decode (the box is then
    // empty, and printing skips nothing: the print job finds it undecodable).
    bool Show(ui::Window& main, std::size_t index);
    // Takes the shown picture out; the next one (or the last) is shown. False when it was the
    // only one: it stays.
    bool RemoveShown(ui::Window& main);
    // Data that gave no picture: the box is left empty.
    void SetUndecodable(ui::Window& main);

private:
    void ShowDecoded(ui::Window& main);

    std::vector<LoadedPicture> pictures_;
    std::size_t shown_ = 0;
    std::shared_ptr<const picture::DecodedPicture> decoded_;
    bool undecodable_ = false;
};

// A picture file's bytes as the document keeps them; nullopt when they are no picture the
// program can show (decoded is then null too). decoded receives the whole picture, decoded.
// The first page of a file of several.
std::optional<LoadedPicture> LoadPicture(std::vector<std::uint8_t> bytes,
                                         std::shared_ptr<const picture::DecodedPicture>* decoded);
// As LoadPicture, but every page of a file of several (TIFF), in order, sharing its bytes; empty
// when the file is no picture or its first page does not decode. decoded receives the first page.
std::vector<LoadedPicture> LoadPictures(std::vector<std::uint8_t> bytes,
                                        std::shared_ptr<const picture::DecodedPicture>* decoded);

}  // namespace app
