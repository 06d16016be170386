#include "picture/picture_commands_win.h"

#include <string>
#include <string_view>

#include "app/main_window_win.h"
#include "app/program_files_win.h"
#include "app/program_state_win.h"
#include "app/program_texts.h"
#include "app/window_helpers_win.h"
#include "picture/picture_data.h"
#include "text/text_file_lines.h"
#include "ui/file_dialog_win.h"
#include "ui/text_win.h"
#include "ui/window_win.h"

namespace picture {
namespace {

constexpr wchar_t chooseModeMessage[] = L"请选择打印文本还是图片？";
constexpr wchar_t promptCaption[] = L"提示信息";
constexpr wchar_t pictureFilter[] = L"*.png|*.jpg|*.gif|*.bmp|*.dib|*.ico|*.cur";
constexpr wchar_t textFilter[] = L"*.txt";
constexpr wchar_t backgroundChanged[] = L"更换背景图成功";
constexpr wchar_t notAPicture[] = L"所选文件不是图片，背景图未更换";

void LoadPictureFile(ui::Window& main, const std::wstring& path) {
    main.SetPictureBytes(app::pictureBox, app::ReadWholeFile(path));
    main.SetEnabled(app::printButton, true);
    main.SetChecked(app::deleteSpacesOption, false);
    main.SetChecked(app::keepSpacesOption, false);
}

// The whole file goes in with one edit, after the text already there.
void AppendTextFile(ui::Window& main, const std::wstring& path) {
    const std::vector<std::uint8_t> bytes = app::ReadWholeFile(path);
    const std::wstring lines = ui::FromGbk(text::TextFileLines(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size())));
    HWND edit = main.Control(app::editBox);
    const int end = GetWindowTextLengthW(edit);
    SendMessageW(edit, EM_SETSEL, end, end);
    SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(lines.c_str()));
    main.SetChecked(app::keepSpacesOption, true);
    main.SetChecked(app::deleteSpacesOption, false);
}

}  // namespace

void OnFindClicked(ui::EventArgs& event) {
    ui::Window& main = event.window;
    app::EmphasizeButton(app::findButton);
    const bool pictureChosen = main.Checked(app::pictureOption);
    const bool textChosen = main.Checked(app::textOption);
    if (!pictureChosen && !textChosen) {
        app::ShowTimedMessage(chooseModeMessage, promptCaption, MB_ICONQUESTION);
    }
    ui::FileDialog& dialog = app::MainFileDialog();
    if (pictureChosen) {
        dialog.filter = pictureFilter;
        if (dialog.ShowOpen(main.Handle())) LoadPictureFile(main, dialog.fileName);
    }
    if (textChosen) {
        dialog.filter = textFilter;
        if (dialog.ShowOpen(main.Handle())) AppendTextFile(main, dialog.fileName);
    }
}

void OnChangeBackgroundChosen(ui::EventArgs& event) {
    ui::FileDialog& dialog = app::MainFileDialog();
    if (!dialog.ShowOpen(event.window.Handle())) return;
    const std::vector<std::uint8_t> bytes = app::ReadWholeFile(dialog.fileName);
    if (RecognizeKind(bytes) == Kind::None) {
        app::SetStatusMessage(notAPicture);
        return;
    }
    if (!app::ReplaceWholeFile(app::ProgramPath(ui::Widen(app::backgroundFileName)), bytes)) return;
    event.window.SetPictureBytes(app::pictureBox, bytes);
    app::SetStatusMessage(backgroundChanged);
}

// The picture adjustment window and the picture print job come later.
void OnAdjustPictureChosen(ui::EventArgs&) {}
void PrintPictureJob() {}

}  // namespace picture
