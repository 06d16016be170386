// The main window's commands that read files: the find button, "更换背景图" and files dropped on
// the window.
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/main_window_win.h"
#include "app/program_texts.h"
#include "app/program_win.h"
#include "picture/decoded_picture_win.h"
#include "picture/decoders.h"
#include "picture/picture_data.h"
#include "text/text_file_win.h"
#include "ui/dialogs_win.h"
#include "ui/edit_box_win.h"
#include "ui/files_win.h"
#include "ui/paths.h"
#include "ui/text_win.h"
#include "ui/timed_message_win.h"
#include "ui/window_win.h"

namespace app {
namespace {

// The most file bytes a load of several pictures keeps.
constexpr std::size_t mostLoadedBytes = std::size_t{512} << 20;

// What to say of a picture whose decoder DLLs are missing; empty when it is not one.
std::string_view MissingDecoderMessage(std::span<const std::uint8_t> bytes) {
    if (!picture::DecoderMissing(bytes)) return {};
    return picture::RecognizeKind(bytes) == picture::Kind::Avif ? avifDecoderMissingMessage
                                                               : heicDecoderMissingMessage;
}

}  // namespace

bool TakePicture(ui::Window& main, MainDocument& document, std::vector<std::uint8_t> bytes) {
    const std::string_view missing = MissingDecoderMessage(bytes);
    std::shared_ptr<const picture::DecodedPicture> decoded;
    std::vector<LoadedPicture> loaded = LoadPictures(std::move(bytes), &decoded);
    if (loaded.empty()) {
        SetStatusMessage(main, ui::Widen(missing.empty() ? pictureUndecodableMessage : missing));
        return false;
    }
    const bool complete = decoded->Picture()->Complete();
    document.SetPictures(main, std::move(loaded), std::move(decoded));
    SetStatusMessage(main, complete ? L"" : ui::Widen(pictureIncompleteMessage));
    return true;
}

bool TakePictureFiles(ui::Window& main, MainDocument& document,
                      const std::vector<std::wstring>& paths) {
    if (paths.size() == 1) {
        ui::FileContents file = ui::ReadFileContents(paths.front());
        if (file.failure != ui::ReadFailure::none) {
            SetStatusMessage(main, ui::Widen(pictureUnreadableMessage));
            return false;
        }
        return TakePicture(main, document, std::move(file.bytes));
    }
    std::vector<LoadedPicture> pictures;
    std::shared_ptr<const picture::DecodedPicture> first;
    std::size_t skipped = 0;
    std::size_t undecoded = 0;  // of the skipped: HEIC and AVIF pictures without their decoder
    std::string_view lastMissing;  // what is said of the last of them
    std::size_t held = 0;
    std::size_t leftOut = 0;
    for (const std::wstring& path : paths) {
        // The files are kept whole until printed: a 32-bit program stops well before its address
        // space is full, with room left to decode and print them.
        if (held > mostLoadedBytes) {
            ++leftOut;
            continue;
        }
        ui::FileContents file = ui::ReadFileContents(path);
        const std::size_t size = file.bytes.size();
        // Only the first is decoded whole, to be shown; the others are read from their headers.
        std::vector<LoadedPicture> loaded;
        std::string_view missing;
        if (file.failure == ui::ReadFailure::none) {
            missing = MissingDecoderMessage(file.bytes);
            loaded = LoadPictures(std::move(file.bytes), first ? nullptr : &first);
        }
        if (!loaded.empty()) {
            held += size;
            for (LoadedPicture& page : loaded) pictures.push_back(std::move(page));
        } else {
            ++skipped;
            if (!missing.empty()) {
                ++undecoded;
                lastMissing = missing;
            }
        }
    }
    if (pictures.empty()) {
        const bool allUndecoded = undecoded > 0 && undecoded == skipped && leftOut == 0;
        SetStatusMessage(main, ui::Widen(allUndecoded ? lastMissing : pictureUndecodableMessage));
        return false;
    }
    document.SetPictures(main, std::move(pictures), std::move(first));
    SetStatusMessage(main, ui::Widen(PicturesLoadedMessage(document.Pictures().size(), skipped, leftOut, undecoded)));
    return true;
}

namespace {

// Files that cannot be read or decoded leave the picture there too.
void LoadPictureFiles(ui::Window& main, Program& program, const std::vector<std::wstring>& paths) {
    if (!TakePictureFiles(main, program.document, paths)) return;
    program.adjustWindow.ShowPicture();
    UpdatePrintButton(main, program, PrintButtonCause::PictureLoaded);
    main.SetChecked(deleteSpacesOption, false);
    main.SetChecked(keepSpacesOption, false);
}

// The whole file goes in with one edit, after the text already there; a text not taken whole
// says so in the status bar. The text carries the file's name from now on.
void AppendTextFile(ui::Window& main, Program& program, const std::wstring& path,
                    std::span<const std::uint8_t> bytes) {
    const text::LoadedText loaded = text::LoadTextFile(bytes);
    program.textFileName = ui::ToUtf16(ui::FileNamePart(path));
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
        if (dialog.ShowOpenMany(main.Handle())) LoadPictureFiles(main, program, dialog.fileNames);
    }
    if (textChosen) {
        dialog.filter = ui::Widen(textFileFilter);
        if (!dialog.ShowOpen(main.Handle())) return;
        const ui::FileContents file = ui::ReadFileContents(dialog.fileName);
        if (!text::ToldReadFailure(file)) AppendTextFile(main, program, dialog.fileName, file.bytes);
    }
}

// "更换背景图": only a file that decodes as a whole becomes the background; a file that merely
// starts like a picture would leave the box empty at every start, and one cut short would show
// its missing part at every start.
void OnChangeBackgroundChosen(ui::EventArgs& event) {
    Program& program = event.Context<Program>();
    ui::FileDialog& dialog = program.fileDialog;
    if (!dialog.ShowOpen(event.window.Handle())) return;
    std::vector<std::uint8_t> bytes = ui::ReadWholeFile(dialog.fileName);
    std::shared_ptr<const picture::DecodedPicture> decoded;
    std::optional<LoadedPicture> loaded = LoadPicture(bytes, &decoded);
    if (!loaded || !decoded->Picture()->Complete()) {
        const std::string_view missing = MissingDecoderMessage(bytes);
        const std::string_view message = loaded            ? incompleteBackgroundMessage
                                         : missing.empty() ? notAPictureMessage
                                                           : missing;
        SetStatusMessage(event.window, ui::Widen(message));
        return;
    }
    if (!ui::ReplaceWholeFile(ui::DataPath(ui::Widen(backgroundFileName)), bytes)) return;
    program.document.SetPictures(event.window, {std::move(*loaded)}, std::move(decoded));
    SetStatusMessage(event.window, ui::Widen(backgroundChangedMessage));
}

// Files dropped on the window: when the first is a picture (by its content), every picture among
// them goes into the picture box, in the order given; any other first file is appended as the
// find button appends a text file. Then the mode is chosen as its option's click chooses it. A
// file that cannot be read, or pictures that do not decode, change nothing and say so.
void OnMainFilesDropped(ui::EventArgs& event) {
    OpenFiles(event.window, event.Context<Program>(), {event.files.begin(), event.files.end()});
}

void OpenFiles(ui::Window& main, Program& program, const std::vector<std::wstring>& paths) {
    if (paths.empty()) return;
    ui::FileContents file = ui::ReadFileContents(paths.front());
    if (text::ToldReadFailure(file)) return;
    std::vector<std::uint8_t> bytes = std::move(file.bytes);
    if (bytes.empty()) return;
    if (picture::RecognizeKind(bytes) != picture::Kind::None) {
        const bool taken = paths.size() == 1 ? TakePicture(main, program.document, std::move(bytes))
                                             : TakePictureFiles(main, program.document, paths);
        if (!taken) return;
        main.Raise(pictureOption, ui::Event::Clicked);
    } else {
        AppendTextFile(main, program, paths.front(), bytes);
        main.Raise(textOption, ui::Event::Clicked);
    }
}

}  // namespace app
