#include "text/separate_edit_win.h"

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "picture/picture_data.h"
#include "text/separate_edit_description.h"
#include "text/separate_edit_texts.h"
#include "text/text_file_win.h"
#include "ui/dialogs_win.h"
#include "ui/dpi_scale.h"
#include "ui/edit_box_win.h"
#include "ui/file_dialog_win.h"
#include "ui/files_win.h"
#include "ui/font_choice.h"
#include "ui/paths.h"
#include "ui/text_win.h"
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

std::wstring BackupPath() { return ui::ProgramPath(ui::Widen(backupFileName)); }
std::wstring PreviousBackupPath() { return ui::ProgramPath(ui::Widen(previousBackupFileName)); }

std::vector<std::uint8_t> GbkBytes(const std::wstring& text) {
    const std::string gbk = ui::ToGbk(text);
    return {gbk.begin(), gbk.end()};
}

// Replaces the backup file as a whole, so a failed write keeps the previous backup.
void SaveBackup(ui::Window& window) {
    ui::ReplaceWholeFile(BackupPath(), GbkBytes(window.Text(separateEditBox)));
}

void AppendBackup(ui::Window& window) {
    const std::wstring path = BackupPath();
    ui::KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    file.reset();
    const std::vector<std::uint8_t> bytes = ui::ReadWholeFile(path);
    ui::AppendText(EditOf(window), ui::FromGbk(BackupTextPrefix(std::string_view(
                                       reinterpret_cast<const char*>(bytes.data()), bytes.size()))));
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
void SettleText(ui::Window& window) {
    if (GetWindowTextLengthW(EditOf(window)) == 0) return;
    if (ui::AskQuestion(ui::Widen(savePrompt), std::wstring_view())) {
        SaveBackup(window);
    } else {
        window.SetText(separateEditBox, L"");
    }
}

}  // namespace

// The window's handlers; each reaches its window's owner through the event's context.
struct SeparateEditHandlers {
    static SeparateEdit& Owner(ui::EventArgs& event) { return event.Context<SeparateEdit>(); }

    // The sizes are for a 96-dpi screen, like the window's description.
    static void OnCreated(ui::EventArgs& event) {
        ui::Window& window = event.window;
        HWND handle = window.Handle();
        const auto px = [dpi = window.Dpi()](int length) { return ui::ScaleToDpi(length, dpi); };
        // Centred at the size it is given here.
        const int windowWidth = px(separateWindowWidth);
        const int windowHeight = px(separateWindowHeight);
        const ui::Point origin = ui::CentredOrigin(GetSystemMetrics(SM_CXSCREEN),
                                                   GetSystemMetrics(SM_CYSCREEN), windowWidth,
                                                   windowHeight);
        SetWindowPos(handle, nullptr, origin.x, origin.y, windowWidth, windowHeight,
                     SWP_NOZORDER | SWP_NOACTIVATE);

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

    static void OnCloseRequested(ui::EventArgs& event) { SettleText(event.window); }

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
        const std::vector<std::uint8_t> bytes = ui::ReadWholeFile(event.files.front());
        if (bytes.empty() || picture::RecognizeKind(bytes) != picture::Kind::None) return;
        ui::InsertText(EditOf(event.window), TextFileText(bytes));
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
        ui::WriteWholeFile(target, GbkBytes(event.window.Text(separateEditBox)));
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

void SeparateEdit::Close() {
    ui::Window* window = Window();
    if (window == nullptr) return;
    SettleText(*window);
    DestroyWindow(window->Handle());
}

void SeparateEdit::KeepForSessionEnd() {
    ui::Window* window = Window();
    if (window == nullptr || GetWindowTextLengthW(EditOf(*window)) == 0) return;
    const std::wstring backup = BackupPath();
    if (ui::FileExists(backup)) CopyFileW(backup.c_str(), PreviousBackupPath().c_str(), FALSE);
    SaveBackup(*window);
}

}  // namespace text
