// "粘贴图片" and Ctrl+V over the picture box: a picture on the clipboard becomes the picture
// box's picture file, and picture mode is chosen.
#include <array>
#include <utility>

#include "app/main_window_win.h"
#include "app/program_win.h"
#include "picture/dib_file.h"
#include "ui/clipboard_win.h"
#include "ui/window_win.h"

namespace app {
namespace {

// The formats a picture is taken from, the best first: PNG keeps a picture as its program
// wrote it, CF_DIBV5 may carry alpha, CF_DIB is what every program puts there.
std::array<UINT, 3> PictureFormats() {
    static const UINT png = RegisterClipboardFormatW(L"PNG");
    return {png, CF_DIBV5, CF_DIB};
}

// The clipboard's picture as a picture file's bytes; empty when there is none that can be shown.
std::vector<std::uint8_t> ClipboardPictureFile() {
    const std::array formats = PictureFormats();
    ui::ClipboardData data = ui::ReadClipboard(formats);
    if (data.format == 0) return {};
    if (data.format == formats[0]) {
        if (picture::RecognizeKind(data.bytes) != picture::Kind::Png) return {};
        return std::move(data.bytes);
    }
    return picture::FileImageFromDib(data.bytes).value_or(std::vector<std::uint8_t>{});
}

void PastePicture(ui::Window& main, MainDocument& document) {
    std::vector<std::uint8_t> bytes = ClipboardPictureFile();
    if (bytes.empty() || !TakePicture(main, document, std::move(bytes))) return;
    main.Raise(pictureOption, ui::Event::Clicked);
}

bool MouseOver(HWND control, ui::Point screen) {
    RECT area{};
    return control != nullptr && IsWindowVisible(control) && GetWindowRect(control, &area) &&
           PtInRect(&area, POINT{screen.x, screen.y});
}

}  // namespace

bool ClipboardHoldsPicture() { return ui::ClipboardHolds(PictureFormats()); }

void OnPastePictureChosen(ui::EventArgs& event) {
    PastePicture(event.window, event.Context<Program>().document);
}

// Ctrl+V pastes a picture while the mouse is over the picture box, wherever the focus is; without
// a picture on the clipboard the key goes on to the focused control.
void OnPictureBoxKeyDown(ui::EventArgs& event) {
    if (event.code != (ui::keyControl | 'V')) return;
    if (!MouseOver(event.window.Control(pictureBox), event.screen) || !ClipboardHoldsPicture()) return;
    event.handled = true;
    PastePicture(event.window, event.Context<Program>().document);
}

}  // namespace app
