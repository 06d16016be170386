#include "app/background_picture_win.h"

#include "app/main_document_win.h"
#include "app/program_texts.h"
#include "app/resource_ids.h"
#include "app/resources_win.h"
#include "ui/files_win.h"
#include "ui/text_win.h"
#include "ui/window_win.h"

namespace app {

void LoadOrWriteBackgroundPicture(ui::Window& window, MainDocument& document,
                                  const std::wstring& directory) {
    const std::wstring path = directory + L'\\' + ui::Widen(backgroundFileName);
    if (ui::FileExists(path)) {
        std::vector<std::uint8_t> bytes = ui::ReadWholeFile(path);
        const bool empty = bytes.empty();
        std::shared_ptr<const picture::DecodedPicture> decoded;
        if (std::optional<LoadedPicture> loaded = LoadPicture(std::move(bytes), &decoded)) {
            document.SetPictures(window, {std::move(*loaded)}, std::move(decoded));
        } else if (!empty) {
            document.SetUndecodable(window);  // printing it says it is no picture
        }
        return;
    }
    // Written whole or not at all, so that a cut start never leaves a damaged picture behind; a
    // directory that refuses it leaves the box empty and the next start tries again.
    ui::ReplaceWholeFile(path, ResourceBytes(BACKGROUND_PICTURE_RESOURCE));
}

}  // namespace app
