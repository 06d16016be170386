// The main window's commands that read files: the find button, "更换背景图" and files dropped on
// the window.
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/main_window_win.h"
#include "app/program_texts.h"
#include "app/program_win.h"
#include "picture/decoded_picture_win.h"
#include "picture/picture_data.h"
#include "text/text_file_win.h"
#include "ui/dialogs_win.h"
#include "ui/edit_box_win.h"
#include "ui/files_win.h"
#include "ui/text_win.h"
#include "ui/timed_message_win.h"
#include "ui/window_win.h"

namespace app {

bool TakePicture(ui::Window& main, MainDocument& document, std::span<const std::uint8_t> bytes) {
    const auto status = [&main](std::string_view text) { SetStatusMessage(main, ui::Widen(text)); };
    auto decoded = picture::DecodedPicture::FromBytes(bytes);
    if (!decoded) {
        status(pictureUndecodableMessage);
        return false;
    }
    const bool complete = decoded->Picture()->Complete();
    document.SetPicture(main, std::move(decoded));
    status(complete ? "" : pictureIncompleteMessage);
    return true;
}

namespace {

// A file that cannot be read leaves the picture there too.
void LoadPictureFile(ui::Window& main, Program& program, const std::wstring& path) {
    ui::FileContents file = ui::ReadFileContents(path);
    if (file.failure != ui::ReadFailure::none) {
        SetStatusMessage(main, ui::Widen(pictureUnreadableMessage));
        return;
    }
    if (!TakePicture(main, program.document, file.bytes)) return;
    UpdatePrintButton(main, program, PrintButtonCause::PictureLoaded);
    main.SetChecked(deleteSpacesOption, false);
    main.SetChecked(keepSpacesOption, false);
}

// The whole file goes in with one edit, after the text already there; a text not taken whole
// says so in the status bar.
void AppendTextFile(ui::Window& main, std::span<const std::uint8_t> bytes) {
    const text::LoadedText loaded = text::LoadTextFile(bytes);
    ui::AppendText(main.Control(editBox), loaded.text);
    main.SetChecked(keepSpacesOption, true);
    main.SetChecked(deleteSpacesOption, false);
    if (!loaded.status.empty()) SetStatusMessage(main, loaded.status);
}

}  // namespace

// "查找": loads a picture into the picture box or appends a text file to the edit box, by the
// print options that are ticked.
void OnFindClicked(ui::EventArgs& event) {
    ui::Window& main = event.window;
    Program& program = event.Context<Program>();
    EmphasizeButton(main, findButton);
    const bool pictureChosen = main.Checked(pictureOption);
    const bool textChosen = main.Checked(textOption);
    if (!pictureChosen && !textChosen) {
        ui::ShowTimedMessage(ui::Widen(chooseModeMessage), ui::promptCaption, MB_ICONQUESTION);
    }
    ui::FileDialog& dialog = program.fileDialog;
    if (pictureChosen) {
        dialog.filter = ui::Widen(pictureFileFilter);
        if (dialog.ShowOpen(main.Handle())) LoadPictureFile(main, program, dialog.fileName);
    }
    if (textChosen) {
        dialog.filter = ui::Widen(textFileFilter);
        if (!dialog.ShowOpen(main.Handle())) return;
        const ui::FileContents file = ui::ReadFileContents(dialog.fileName);
        if (!text::ToldReadFailure(file)) AppendTextFile(main, file.bytes);
    }
}

// "更换背景图": only a file that decodes as a whole becomes the background; a file that merely
// starts like a picture would leave the box empty at every start, and one cut short would show
// its missing part at every start.
void OnChangeBackgroundChosen(ui::EventArgs& event) {
    Program& program = event.Context<Program>();
    ui::FileDialog& dialog = program.fileDialog;
    if (!dialog.ShowOpen(event.window.Handle())) return;
    const std::vector<std::uint8_t> bytes = ui::ReadWholeFile(dialog.fileName);
    auto decoded = picture::DecodedPicture::FromBytes(bytes);
    if (!decoded || !decoded->Picture()->Complete()) {
        SetStatusMessage(event.window,
                         ui::Widen(decoded ? incompleteBackgroundMessage : notAPictureMessage));
        return;
    }
    if (!ui::ReplaceWholeFile(ui::DataPath(ui::Widen(backgroundFileName)), bytes)) return;
    program.document.SetPicture(event.window, std::move(decoded));
    SetStatusMessage(event.window, ui::Widen(backgroundChangedMessage));
}

// A file dropped on the window, the first of several: a picture (by its content) goes into the
// picture box, any other file is appended as the find button appends a text file; then the mode
// is chosen as its option's click chooses it. A file that cannot be read, or a picture that does
// not decode, changes nothing and says so.
void OnMainFilesDropped(ui::EventArgs& event) {
    if (event.files.empty()) return;
    ui::Window& main = event.window;
    ui::FileContents file = ui::ReadFileContents(event.files.front());
    if (text::ToldReadFailure(file)) return;
    std::vector<std::uint8_t> bytes = std::move(file.bytes);
    if (bytes.empty()) return;
    if (picture::RecognizeKind(bytes) != picture::Kind::None) {
        if (!TakePicture(main, event.Context<Program>().document, bytes)) return;
        main.Raise(pictureOption, ui::Event::Clicked);
    } else {
        AppendTextFile(main, bytes);
        main.Raise(textOption, ui::Event::Clicked);
    }
}

}  // namespace app
