#include "text/separate_edit_win.h"

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "picture/picture_data.h"
#include "text/separate_edit_description.h"
#include "text/separate_edit_texts.h"
#include "text/text_encoding.h"
#include "text/text_file_win.h"
#include "ui/dialogs_win.h"
#include "ui/dpi_scale.h"
#include "ui/edit_box_win.h"
#include "ui/file_dialog_win.h"
#include "ui/files_win.h"
#include "ui/font_choice.h"
#include "ui/paths.h"
#include "ui/text_win.h"
#include "ui/window_placement_win.h"
#include "ui/window_win.h"

namespace text {

// What one opening of the window keeps; made afresh each time it opens.
struct SeparateEdit::Opening {
    std::unique_ptr<ui::Window> window;
    ui::FontChoice font;
    ui::FileDialog dialog;
};

namespace {

constexpr wchar_t saveAsFilter[] = L"*.txt";
constexpr int contextMenuOffset = 3;

HWND EditOf(ui::Window& window) { return window.Control(separateEditBox); }

std::wstring BackupPath() { return ui::DataPath(ui::Widen(backupFileName)); }

// GBK as before when it holds the whole text, else UTF-8 with a mark, so that no character is lost.
std::vector<std::uint8_t> SavedBytes(const std::wstring& text) {
    const std::string gbk = ui::ToGbk(text);
    const std::string bytes = SavedTextBytes(ui::ToUtf16(text), gbk, ui::ToUtf16(ui::FromGbk(gbk)));
    return {bytes.begin(), bytes.end()};
}

// The error GetLastError() holds, told in a box; the text stays where it is.
void TellSaveFailed() {
    const DWORD error = GetLastError();
    ui::ShowMessage(SaveFailedMessage(ui::SystemErrorText(error), error), std::wstring_view(),
                    MB_OK | MB_ICONERROR);
}

// The whole text replaces the file, or the file stays as it was and the user is told.
bool SaveText(const std::wstring& path, ui::Window& window) {
    if (ui::ReplaceWholeFile(path, SavedBytes(window.Text(separateEditBox)))) return true;
    TellSaveFailed();
    return false;
}

bool SaveBackup(ui::Window& window) { return SaveText(BackupPath(), window); }

// Keeps the backup's previous content beside it, then the text; false when the text was not kept.
bool KeepBackupIn(const std::wstring& folder, std::span<const std::uint8_t> bytes) {
    const std::wstring backup = folder + L'\\' + ui::Widen(backupFileName);
    const std::wstring previous = folder + L'\\' + ui::Widen(previousBackupFileName);
    if (ui::FileExists(backup)) CopyFileW(backup.c_str(), previous.c_str(), FALSE);
    return ui::ReplaceWholeFile(backup, bytes);
}

// A missing backup is made empty first, as a place for the next "保存".
void AppendBackup(ui::Window& window) {
    const std::wstring path = BackupPath();
    if (!ui::FileExists(path) && !ui::ReplaceWholeFile(path, {})) {
        TellSaveFailed();
        return;
    }
    const std::vector<std::uint8_t> bytes = ui::ReadWholeFile(path);
    const std::string_view view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    ui::AppendText(EditOf(window), ui::FromUtf16(BackupText(view, [](std::string_view gbk) {
                                       return ui::ToUtf16(ui::FromGbk(gbk));
                                   })));
}

void MoveControl(HWND control, int x, int y, int width, int height) {
    SetWindowPos(control, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetPointSize(ui::Window& window, int id, int points) {
    ui::FontSpec font = window.ControlFont(id);
    font.pointSize = points;
    window.SetControlFont(id, font);
}

// Asks whether to keep a non-empty text: Yes saves it to the backup file, No empties the box.
// False when the save failed: the window must stay, with its text.
bool SettleText(ui::Window& window) {
    if (GetWindowTextLengthW(EditOf(window)) == 0) return true;
    if (ui::AskQuestion(ui::Widen(savePrompt), std::wstring_view())) return SaveBackup(window);
    window.SetText(separateEditBox, L"");
    return true;
}

}  // namespace

// The window's handlers; each reaches its window's owner through the event's context.
struct SeparateEditHandlers {
    static SeparateEdit& Owner(ui::EventArgs& event) { return event.Context<SeparateEdit>(); }

    // The sizes are for a 96-dpi screen, like the window's description.
    static void OnCreated(ui::EventArgs& event) {
        ui::Window& window = event.window;
        const auto px = [dpi = window.Dpi()](int length) { return ui::ScaleToDpi(length, dpi); };
        // Centred at the size it is given here.
        const int windowWidth = px(separateWindowWidth);
        const int windowHeight = px(separateWindowHeight);
        ui::CentreOnScreen(window.Handle(), windowWidth, windowHeight);

        const int editWidth = px(separateWindowWidth - separateEditWidthMargin);
        const int editHeight = px(separateWindowHeight - separateEditHeightMargin);
        MoveControl(EditOf(window), px(separateEditLeft), px(separateEditTop), editWidth,
                    editHeight);
        SetPointSize(window, separateEditBox, separateEditPointSize);

        RECT edit;
        GetWindowRect(EditOf(window), &edit);
        window.SetTitle(
            ui::Widen(SeparateEditTitle(edit.right - edit.left, edit.bottom - edit.top)));

        const ui::ControlSpec* vertical = ui::FindControl(window.Description(), verticalRuler);
        MoveControl(window.Control(verticalRuler), 0, px(vertical->rect.y), px(verticalRulerWidth),
                    windowHeight);
        SetPointSize(window, verticalRuler, verticalRulerPointSize);
        window.SetText(verticalRuler, ui::Widen(VerticalRulerText()));

        const ui::ControlSpec* horizontal = ui::FindControl(window.Description(), horizontalRuler);
        MoveControl(window.Control(horizontalRuler), px(horizontal->rect.x), 0,
                    edit.right - edit.left, px(horizontalRulerHeight));
        SetPointSize(window, horizontalRuler, horizontalRulerPointSize);
        window.SetText(horizontalRuler, ui::Widen(HorizontalRulerText()));

        if (const auto& opened = Owner(event).listener_.openChanged) opened(true);
    }

    static void OnCloseRequested(ui::EventArgs& event) { event.refuse = !SettleText(event.window); }

    static void OnDestroyed(ui::EventArgs& event) {
        SeparateEdit& owner = Owner(event);
        owner.windows_.Closed();
        if (owner.listener_.openChanged) owner.listener_.openChanged(false);
    }

    static void OnEditChanged(ui::EventArgs& event) {
        if (const auto& changed = Owner(event).listener_.textChanged) {
            changed(GetWindowTextLengthW(EditOf(event.window)) > 0);
        }
    }

    static void OnEditRightButton(ui::EventArgs& event) {
        event.window.ShowPopupMenu(separateMenu, {event.screen.x + contextMenuOffset,
                                                  event.screen.y + contextMenuOffset});
    }

    // A dropped text file's text goes in at the caret; a picture file holds no text to put there.
    static void OnFilesDropped(ui::EventArgs& event) {
        if (event.files.empty()) return;
        const ui::FileContents file = ui::ReadFileContents(event.files.front());
        if (ToldReadFailure(file)) return;
        if (file.bytes.empty() || picture::RecognizeKind(file.bytes) != picture::Kind::None) return;
        ui::InsertText(EditOf(event.window), LoadTextFile(file.bytes).text);
    }

    static void OnCopy(ui::EventArgs& event) { ui::CopySelection(EditOf(event.window)); }
    static void OnPaste(ui::EventArgs& event) { ui::PasteOverSelection(EditOf(event.window)); }
    static void OnFont(ui::EventArgs& event) {
        if (SeparateEdit::Opening* open = Owner(event).windows_.Current()) {
            ui::ChooseEditFont(event.window, separateEditBox, open->font);
        }
    }
    static void OnAlignLeft(ui::EventArgs& event) {
        event.window.SetAlignment(separateEditBox, ui::Alignment::left);
    }
    static void OnAlignCenter(ui::EventArgs& event) {
        event.window.SetAlignment(separateEditBox, ui::Alignment::center);
    }
    static void OnAlignRight(ui::EventArgs& event) {
        event.window.SetAlignment(separateEditBox, ui::Alignment::right);
    }
    static void OnClear(ui::EventArgs& event) { event.window.SetText(separateEditBox, L""); }
    static void OnAppendBackup(ui::EventArgs& event) { AppendBackup(event.window); }
    static void OnSave(ui::EventArgs& event) { SaveBackup(event.window); }

    // The file written is the file the user confirmed: when ".txt" has to be added, the name
    // with it is asked about as the dialog asks about the name it was given.
    static void OnSaveAs(ui::EventArgs& event) {
        SeparateEdit::Opening* open = Owner(event).windows_.Current();
        if (open == nullptr) return;
        ui::FileDialog& dialog = open->dialog;
        dialog.filter = saveAsFilter;
        if (!dialog.ShowSave(event.window.Handle())) return;
        const std::wstring target = SaveAsFileName(dialog.fileName);
        if (target != dialog.fileName && ui::FileExists(target) &&
            !ui::AskQuestion(SaveAsReplaceQuestion(ui::FileNamePart(target)),
                             ui::Widen(saveAsReplaceCaption))) {
            return;
        }
        SaveText(target, event.window);
    }
};

namespace {

using ui::Binding;
using ui::Event;
using Handlers = SeparateEditHandlers;

constexpr std::array events{
    Binding{ui::windowItself, Event::Created, Handlers::OnCreated},
    Binding{ui::windowItself, Event::CloseRequested, Handlers::OnCloseRequested},
    Binding{ui::windowItself, Event::Destroyed, Handlers::OnDestroyed},
    Binding{separateEditBox, Event::Changed, Handlers::OnEditChanged},
    Binding{separateEditBox, Event::RightButtonDown, Handlers::OnEditRightButton},
    Binding{ui::windowItself, Event::FilesDropped, Handlers::OnFilesDropped},
    Binding{separateCopyItem, Event::Clicked, Handlers::OnCopy},
    Binding{separatePasteItem, Event::Clicked, Handlers::OnPaste},
    Binding{separateFontItem, Event::Clicked, Handlers::OnFont},
    Binding{separateAlignLeftItem, Event::Clicked, Handlers::OnAlignLeft},
    Binding{separateAlignCenterItem, Event::Clicked, Handlers::OnAlignCenter},
    Binding{separateAlignRightItem, Event::Clicked, Handlers::OnAlignRight},
    Binding{separateClearItem, Event::Clicked, Handlers::OnClear},
    Binding{appendBackupItem, Event::Clicked, Handlers::OnAppendBackup},
    Binding{saveItem, Event::Clicked, Handlers::OnSave},
    Binding{saveAsItem, Event::Clicked, Handlers::OnSaveAs},
};

const ui::WindowSpec& SeparateEditSpec() {
    static const ui::WindowSpec description{
        "MozhouSeparateEdit",
        "",
        separateDesignWidth,
        separateDesignHeight,
        ui::fixedBorder | ui::minimizeBox | ui::centered,
        SeparateEditControls(),
        SeparateEditMenu(),
        events,
    };
    return description;
}

}  // namespace

SeparateEdit::SeparateEdit(Listener listener) : listener_(std::move(listener)) {}

// The owner is going: its window must not call back into it while it is destroyed.
SeparateEdit::~SeparateEdit() { listener_ = {}; }

void SeparateEdit::Open() {
    windows_.Open([this] { return ui::Window::Create(SeparateEditSpec(), SW_SHOW, this); });
}

ui::Window* SeparateEdit::Window() const { return windows_.CurrentWindow(); }

bool SeparateEdit::Close() {
    ui::Window* window = Window();
    if (window == nullptr) return true;
    if (!SettleText(*window)) return false;
    DestroyWindow(window->Handle());
    return true;
}

bool SeparateEdit::SaveForHandOver() {
    ui::Window* window = Window();
    return window == nullptr || SaveBackup(*window);
}

// Nothing can be asked now: a program folder that refuses the text leaves it in the user's own.
void SeparateEdit::KeepForSessionEnd() {
    ui::Window* window = Window();
    if (window == nullptr || GetWindowTextLengthW(EditOf(*window)) == 0) return;
    const std::vector<std::uint8_t> bytes = SavedBytes(window->Text(separateEditBox));
    const std::wstring folder = ui::DataFolder();
    if (KeepBackupIn(folder, bytes)) return;
    const std::wstring user = ui::UserDataFolder();
    if (!user.empty() && user != folder) KeepBackupIn(user, bytes);
}

}  // namespace text
